#pragma once
// Counts every allocation the program makes through operator new, so a
// benchmark can tell how many its steps make.  Linking allocation_count.cpp
// into a benchmark program replaces the global operator new and delete.

namespace benchutil {

// Allocations made since the program started.
long Allocations();

}  // namespace benchutil
