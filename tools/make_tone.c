/*
 * make_tone: writes a short sine test tone as a 16-bit PCM WAV file.
 *
 *   make_tone OUT.wav FREQ_HZ DURATION_MS [RATE_HZ [CHANNELS [COUNT GAP_MS]]]
 *
 * The audio tests play such a file from the application's working directory.
 * With COUNT, the tone is repeated COUNT times with GAP_MS of silence between
 * (the confirmation's "how many tones did you hear?" challenges).
 * The tone sits at half full scale (-6 dBFS) and fades in and out over 10 ms,
 * so it starts and stops without a click on any output. Every channel carries
 * the same signal. The output is the same on every run (reproducible builds).
 *
 * Runs at build time on the build machine (see deploy/).
 */
#include <errno.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define FADE_MS 10

static int usage(void)
{
    fprintf(stderr, "usage: make_tone OUT.wav FREQ_HZ DURATION_MS [RATE_HZ [CHANNELS [COUNT GAP_MS]]]\n");
    return 2;
}

/* Whole decimal number in [lo, hi], nothing else on the argument. */
static int parse_long(const char * text, long lo, long hi, long * out)
{
    char * end = NULL;
    errno = 0;
    long v = strtol(text, &end, 10);
    if(errno || end == text || *end != '\0' || v < lo || v > hi) return 0;
    *out = v;
    return 1;
}

static void put_le16(unsigned char * p, uint32_t v)
{
    p[0] = (unsigned char)(v & 0xff);
    p[1] = (unsigned char)((v >> 8) & 0xff);
}

static void put_le32(unsigned char * p, uint32_t v)
{
    put_le16(p, v & 0xffff);
    put_le16(p + 2, v >> 16);
}

int main(int argc, char ** argv)
{
    if(argc < 4 || argc > 8 || argc == 7) return usage();
    long freq, duration_ms, rate = 48000, channels = 2, count = 1, gap_ms = 0;
    if(!parse_long(argv[3], 1, 60000, &duration_ms) ||
       (argc > 4 && !parse_long(argv[4], 8000, 192000, &rate)) ||
       (argc > 5 && !parse_long(argv[5], 1, 8, &channels)) ||
       (argc > 6 && (!parse_long(argv[6], 1, 16, &count) || !parse_long(argv[7], 0, 10000, &gap_ms))) ||
       !parse_long(argv[2], 1, 1000000, &freq)) {
        fprintf(stderr, "make_tone: bad number (duration 1..60000 ms, rate 8000..192000 Hz, 1..8 channels, count 1..16, gap 0..10000 ms)\n");
        return usage();
    }
    if(freq * 2 >= rate) {
        fprintf(stderr, "make_tone: %ld Hz cannot be sampled at %ld Hz\n", freq, rate);
        return 2;
    }

    const uint32_t frames = (uint32_t)(rate * duration_ms / 1000);
    const uint32_t gap_frames = (uint32_t)(rate * gap_ms / 1000);
    const uint32_t block = (uint32_t)channels * 2;
    const uint32_t data_bytes = ((uint32_t)count * frames + (uint32_t)(count - 1) * gap_frames) * block;

    unsigned char header[44];
    memcpy(header, "RIFF", 4);
    put_le32(header + 4, 36 + data_bytes);
    memcpy(header + 8, "WAVEfmt ", 8);
    put_le32(header + 16, 16);              /* fmt chunk size */
    put_le16(header + 20, 1);               /* PCM */
    put_le16(header + 22, (uint32_t)channels);
    put_le32(header + 24, (uint32_t)rate);
    put_le32(header + 28, (uint32_t)rate * block);
    put_le16(header + 32, block);
    put_le16(header + 34, 16);
    memcpy(header + 36, "data", 4);
    put_le32(header + 40, data_bytes);

    FILE * out = fopen(argv[1], "wb");
    if(!out) {
        fprintf(stderr, "make_tone: cannot write %s: %s\n", argv[1], strerror(errno));
        return 1;
    }
    int ok = fwrite(header, sizeof header, 1, out) == 1;

    const double two_pi = 6.283185307179586;
    const double amplitude = 16384.0; /* -6 dBFS */
    const uint32_t fade = (uint32_t)(rate * FADE_MS / 1000);
    unsigned char frame[16];
    for(long n = 0; ok && n < count; n++) {
        if(n > 0) {
            memset(frame, 0, sizeof frame);
            for(uint32_t i = 0; ok && i < gap_frames; i++) ok = fwrite(frame, block, 1, out) == 1;
        }
        for(uint32_t i = 0; ok && i < frames; i++) {
            double gain = 1.0;
            uint32_t from_edge = i < frames - 1 - i ? i : frames - 1 - i;
            if(from_edge < fade) gain = 0.5 - 0.5 * cos(3.141592653589793 * from_edge / fade);
            double v = amplitude * gain * sin(two_pi * (double)freq * i / (double)rate);
            long s = lround(v);
            for(long c = 0; c < channels; c++) put_le16(frame + 2 * c, (uint32_t)(uint16_t)(int16_t)s);
            ok = fwrite(frame, block, 1, out) == 1;
        }
    }
    if(fclose(out) != 0) ok = 0;
    if(!ok) {
        fprintf(stderr, "make_tone: writing %s failed\n", argv[1]);
        remove(argv[1]);
        return 1;
    }
    return 0;
}
