#pragma once

namespace dotwall::bench {

// How many times the program, and every library it loaded, has allocated with operator new
// so far. allocation_count.cpp replaces the global operator new to count.
long allocationCount();

}  // namespace dotwall::bench
