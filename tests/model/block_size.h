// The usable size of a block from malloc, for tests of what memory is kept.
#pragma once

#include <cstddef>

std::size_t HeapBlockSize(const void* block);
