#include <malloc.h>

#include "block_size.h"

std::size_t HeapBlockSize(const void* block) { return _msize(const_cast<void*>(block)); }
