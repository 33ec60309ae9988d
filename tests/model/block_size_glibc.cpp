#include <malloc.h>

#include "block_size.h"

std::size_t HeapBlockSize(const void* block) { return malloc_usable_size(const_cast<void*>(block)); }
