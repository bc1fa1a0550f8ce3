// empty.exe: empties the working set of the process named by its argument.
#include "working_set_trim.h"

int main(int argc, char** argv) { return corvalin::empty::RunEmpty(argc, argv); }
