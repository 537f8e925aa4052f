// Loops over thousands of points that the compiler vectorises get a second
// copy for processors with AVX2, chosen once when the program loads. Only
// loops that add, subtract, multiply, divide, compare and convert are marked:
// those give the same bits at every vector width, and AVX2 alone brings no
// fused multiply-add that could change a rounding.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__linux__)
#define KV_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define KV_VECTOR_CLONES
#endif
