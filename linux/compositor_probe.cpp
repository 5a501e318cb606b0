/* A look at the compositor of our own, on a connection of its own, before the backend starts. */
#include "compositor_probe.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <wayland-client.h>

enum { HOR_RES = TESSEL_HOR_RES, VER_RES = TESSEL_VER_RES };

struct probe {
	struct wl_output *outputs[16];
	int n_outputs;
	bool panel_output;
};

static void output_mode(void *data, struct wl_output *output, uint32_t flags, int32_t w, int32_t h,
			int32_t refresh)
{
	(void)output;
	(void)refresh;
	if ((flags & WL_OUTPUT_MODE_CURRENT) && w == HOR_RES && h == VER_RES)
		((struct probe *)data)->panel_output = true;
}
static void output_geometry(void *, struct wl_output *, int32_t, int32_t, int32_t, int32_t, int32_t,
			    const char *, const char *, int32_t) {}
static void output_done(void *, struct wl_output *) {}
static void output_scale(void *, struct wl_output *, int32_t) {}
static void output_text(void *, struct wl_output *, const char *) {}
static const struct wl_output_listener output_listener = {
	.geometry = output_geometry, .mode = output_mode, .done = output_done, .scale = output_scale,
#ifdef WL_OUTPUT_NAME_SINCE_VERSION
	.name = output_text, .description = output_text,
#endif
};

static void registry_global(void *data, struct wl_registry *registry, uint32_t name, const char *iface,
			    uint32_t version)
{
	(void)version;
	struct probe *p = (struct probe *)data;
	if (strcmp(iface, wl_output_interface.name) != 0 || p->n_outputs == 16)
		return;
	struct wl_output *output = (struct wl_output *)wl_registry_bind(registry, name, &wl_output_interface, 1);
	wl_output_add_listener(output, &output_listener, p);
	p->outputs[p->n_outputs++] = output;
}
static void registry_remove(void *, struct wl_registry *, uint32_t) {}
static const struct wl_registry_listener registry_listener = {.global = registry_global,
							       .global_remove = registry_remove};

bool tessel_probe_compositor(void)
{
	struct wl_display *probe = wl_display_connect(NULL);
	if (!probe) {
		const char *name = getenv("WAYLAND_DISPLAY");
		const char *rt = getenv("XDG_RUNTIME_DIR");
		fprintf(stderr,
			"gui_tessel: no Wayland compositor to connect to (%s). WAYLAND_DISPLAY=%s, XDG_RUNTIME_DIR=%s: "
			"they must name the socket of a running Wayland compositor.\n",
			strerror(errno), name && *name ? name : "(unset, so wayland-0)", rt && *rt ? rt : "(unset)");
		exit(2);
	}
	struct probe p = {};
	struct wl_registry *registry = wl_display_get_registry(probe);
	wl_registry_add_listener(registry, &registry_listener, &p);
	wl_display_roundtrip(probe); /* the outputs */
	wl_display_roundtrip(probe); /* their modes */
	for (int i = 0; i < p.n_outputs; i++)
		wl_output_destroy(p.outputs[i]);
	wl_registry_destroy(registry);
	wl_display_disconnect(probe);
	return p.panel_output;
}
