// The storage of every CArray, from this module's heap.
#include "afxtempl.h"
#include <stdlib.h>

void* AfxArrayAlloc(size_t bytes) { return malloc(bytes ? bytes : 1); }
void AfxArrayFree(void* p) { free(p); }
