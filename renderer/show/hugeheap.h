#pragma once
// show's heap in huge pages.
//
// A run of show touches a few MB of fresh heap (pictures, the font library, text layout), one
// 4 KB page at a time, and on a virtual machine every first touch of a page is a fault that
// costs as much as drawing a line of text: half of a run's own work goes to them. Placed in
// transparent huge pages, the same heap takes one fault per 2 MB.
//
// Call first thing in main(): the heap from then on starts on a 2 MB boundary, grows by 8 MB at
// a time and is never given back (show ends within the second), and the system is asked to
// back its first 8 MB with huge pages where it lets programs ask ("madvise" in
// /sys/kernel/mm/transparent_hugepage/enabled); what a large wallpaper's decoding adds beyond
// them lies in plain pages. Where the system does not let it ask, the heap works as before.

namespace HugeHeap {

void use();

} // namespace HugeHeap
