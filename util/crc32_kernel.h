// CRC-32 kernels: the byte-wise table step that defines the result, slicing-by-16, and
// carry-less-multiply folding chosen at run time. All give bit-identical results.
#ifndef ZEDLL_UTIL_CRC32_KERNEL_H
#define ZEDLL_UTIL_CRC32_KERNEL_H

#include <cstddef>
#include <cstdint>

namespace zed::crc32 {

// Every kernel advances the running register (the value before the final complement) over n bytes.

/// One table step per byte: reg = (reg >> 8) ^ table[(reg ^ b) & 0xFF].
uint32_t UpdateBytewise(uint32_t reg, const unsigned char* p, size_t n);
/// Table slicing, four independent lanes eight bytes a step, sixteen a step for the rest;
/// runs everywhere.
uint32_t UpdateSlicing(uint32_t reg, const unsigned char* p, size_t n);

/// Which kernel Update uses.
enum class Kernel { kSlicing, kClmul, kClmulWide };
/// The fastest kernel this processor (and operating system) offers.
Kernel BestKernel();
/// The kernel Update uses now (BestKernel unless forced).
Kernel ActiveKernel();
/// Test and benchmark hook: force a kernel (one the processor lacks is replaced by the best it has).
void ForceKernel(Kernel kernel);
/// Back to BestKernel.
void ResetKernel();
const char* KernelName(Kernel kernel);

/// Runs one named kernel (falling back to slicing when the processor lacks it).
uint32_t UpdateWith(Kernel kernel, uint32_t reg, const unsigned char* p, size_t n);
/// The active kernel.
uint32_t Update(uint32_t reg, const void* p, size_t n);

// Folding kernels (crc32_clmul.cpp); callers check the processor first.
bool ProcessorHasClmul();
bool ProcessorHasClmulWide();
uint32_t UpdateClmul(uint32_t reg, const unsigned char* p, size_t n);
uint32_t UpdateClmulWide(uint32_t reg, const unsigned char* p, size_t n);

}  // namespace zed::crc32

#endif
