/*
 * png_to_lvimg: turns one PNG into a compiled-in LVGL image.
 *
 *   png_to_lvimg IN.png NAME OUT.bin OUT.c
 *
 * OUT.bin holds the pixels as LV_IMG_CF_TRUE_COLOR_ALPHA for a 16-bit
 * display: per pixel the RGB565 colour, low byte first, then the alpha.
 * OUT.c defines the descriptor NAME and pulls OUT.bin in as NAME_map with
 * the assembler's .incbin: a hex array of 2 MB per frame would take the
 * compiler tens of seconds, the raw include takes none.
 *
 * Runs at build time on the build machine (see generated/images).
 */
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int fail(const char * what, const char * detail)
{
    fprintf(stderr, "png_to_lvimg: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
    return 1;
}

/* Nearest RGB565 value rather than truncation, so light tones stay light. */
static unsigned to_rgb565(unsigned r, unsigned g, unsigned b)
{
    unsigned r5 = (r * 31 + 127) / 255;
    unsigned g6 = (g * 63 + 127) / 255;
    unsigned b5 = (b * 31 + 127) / 255;
    return (r5 << 11) | (g6 << 5) | b5;
}

static int valid_c_name(const char * name)
{
    if(!*name || (name[0] >= '0' && name[0] <= '9')) return 0;
    for(const char * p = name; *p; p++) {
        char c = *p;
        if(!(c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return 0;
    }
    return 1;
}

/* The path goes into an assembler string literal. */
static void put_asm_string(FILE * f, const char * s)
{
    for(; *s; s++) {
        if(*s == '"' || *s == '\\') fputs("\\\\\\", f);
        fputc(*s, f);
    }
}

int main(int argc, char ** argv)
{
    if(argc != 5) {
        fprintf(stderr, "usage: png_to_lvimg IN.png NAME OUT.bin OUT.c\n");
        return 2;
    }
    const char * in_path = argv[1];
    const char * name = argv[2];
    const char * bin_path = argv[3];
    const char * c_path = argv[4];
    if(!valid_c_name(name)) return fail("not a C identifier", name);

    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if(!png_image_begin_read_from_file(&image, in_path)) return fail(in_path, image.message);
    image.format = PNG_FORMAT_RGBA;
    /* LVGL keeps width and height in 11-bit fields. */
    if(image.width == 0 || image.height == 0 || image.width > 2047 || image.height > 2047) {
        png_image_free(&image);
        return fail(in_path, "size out of range (1..2047)");
    }
    size_t w = image.width, h = image.height;
    unsigned char * rgba = malloc(w * h * 4);
    unsigned char * out = malloc(w * h * 3);
    if(!rgba || !out) {
        png_image_free(&image);
        return fail("out of memory", NULL);
    }
    if(!png_image_finish_read(&image, NULL, rgba, 0, NULL)) {
        free(rgba);
        free(out);
        return fail(in_path, image.message);
    }
    for(size_t i = 0; i < w * h; i++) {
        const unsigned char * p = rgba + i * 4;
        unsigned c = to_rgb565(p[0], p[1], p[2]);
        out[i * 3 + 0] = (unsigned char)(c & 0xFF);
        out[i * 3 + 1] = (unsigned char)(c >> 8);
        out[i * 3 + 2] = p[3];
    }
    free(rgba);

    FILE * bin = fopen(bin_path, "wb");
    if(!bin) {
        free(out);
        return fail("cannot write", bin_path);
    }
    size_t written = fwrite(out, 1, w * h * 3, bin);
    free(out);
    if(fclose(bin) != 0 || written != w * h * 3) return fail("cannot write", bin_path);

    FILE * c = fopen(c_path, "w");
    if(!c) return fail("cannot write", c_path);
    fprintf(c,
            "/* %s: %zu x %zu, LV_IMG_CF_TRUE_COLOR_ALPHA. Made by tools/png_to_lvimg; do not edit. */\n"
            "#ifdef LV_LVGL_H_INCLUDE_SIMPLE\n"
            "#include \"lvgl.h\"\n"
            "#else\n"
            "#include \"lvgl/lvgl.h\"\n"
            "#endif\n"
            "\n"
            "/* Read-only pixels, RGB565 low byte first, then alpha. */\n"
            "__asm__(\n"
            "    \"\\t.section .rodata.%s_map,\\\"a\\\"\\n\"\n"
            "    \"\\t.balign 4\\n\"\n"
            "    \"\\t.globl %s_map\\n\"\n"
            "    \"\\t.type %s_map, STT_OBJECT\\n\"\n"
            "    \"%s_map:\\n\"\n"
            "    \"\\t.incbin \\\"",
            name, w, h, name, name, name, name);
    put_asm_string(c, bin_path);
    fprintf(c,
            "\\\"\\n\"\n"
            "    \"\\t.size %s_map, . - %s_map\\n\"\n"
            "    \"\\t.previous\\n\");\n"
            "\n"
            "extern const uint8_t %s_map[];\n"
            "\n"
            "LV_IMG_DECLARE(%s)\n"
            "\n"
            "const lv_img_dsc_t %s = {\n"
            "    .header.cf = LV_IMG_CF_TRUE_COLOR_ALPHA,\n"
            "    .header.always_zero = 0,\n"
            "    .header.reserved = 0,\n"
            "    .header.w = %zu,\n"
            "    .header.h = %zu,\n"
            "    .data_size = %zu, /* 3 bytes a pixel */\n"
            "    .data = %s_map,\n"
            "};\n",
            name, name, name, name, name, w, h, w * h * 3, name);
    if(fclose(c) != 0) return fail("cannot write", c_path);
    return 0;
}
