/* Before the backend starts, a look at the compositor of our own:
 * - lv_drivers 8.3's backend asserts on a failed connection, and its
 *   assertion spins forever; so without a compositor this says why and
 *   exits 2 (the unit restarts the program until the compositor is up);
 * - is there an output whose current mode is exactly the panel's? Then the
 *   window should go fullscreen, above a shell's panel (weston's
 *   desktop-shell would otherwise place it below its 32-px panel, the
 *   bottom of the UI off the screen). lv_drivers 8.3 does not ask for it. */
#ifndef TESSEL_COMPOSITOR_PROBE_H
#define TESSEL_COMPOSITOR_PROBE_H

#define TESSEL_HOR_RES 1280
#define TESSEL_VER_RES 800

/* true when an output's mode is TESSEL_HOR_RES x TESSEL_VER_RES; exits 2 without a compositor */
bool tessel_probe_compositor(void);

#endif
