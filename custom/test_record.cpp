#include "test_record.h"

/* Placeholder until the record writer lands: the runner may report already. */
void record_set_device_tree(const char *name) { (void)name; }
void record_test_ended(const struct tessel_test_result *result) { (void)result; }
void record_close_run(void) {}
