#include "bench_common.h"
namespace bench {
int RunInstanceRace(int) { return 0; }
int RunSoak(int, unsigned) { return 0; }
int RunHungShell(int) { return 0; }
}
