#pragma once

/// Hands memory the program no longer uses back to the system. A rendered 128 × 128 frame
/// is exactly 64 KiB and a clone burst frees hundreds of them at once; left to the
/// allocator's defaults that memory would stay with the process for good.
namespace MemoryRelease {

/// Call first thing in main(): blocks of a frame's size and more get pages of their own,
/// which go back to the system as soon as they are freed.
void configureAllocator();

/// Asks the allocator to return free memory at the top of its heaps, once, a moment from
/// now, however often it is called meanwhile.
void trimSoon();

} // namespace MemoryRelease
