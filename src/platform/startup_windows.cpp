// Read by the console start-up code: without it the start-up may expand
// wildcards in the arguments, and a "?" or "*" typed in a path would never
// reach the program's checks.
extern "C" {
int _dowildcard = 0;
}
