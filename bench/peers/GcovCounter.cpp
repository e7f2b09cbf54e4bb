// Built with --coverage -fprofile-update=atomic: each call is one gcov
// counter, the peer of a coverage passage.
void PxGcovFirst();
void PxGcovSecond();

__attribute__((noinline)) void PxGcovFirst() {
  asm volatile("");
}
__attribute__((noinline)) void PxGcovSecond() {
  asm volatile("");
}
