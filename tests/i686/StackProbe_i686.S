// qm47test_ProbeCall: calls qm47_CallLibrary32 the way compiled code does
// (cdecl, the caller removes the five arguments) with known values in the
// registers that the routine must preserve, and records what it finds after:
//
//   void qm47test_ProbeCall(const void* function, const std::uint32_t* arguments,
//                           std::uint32_t count, ProbeOutcome* outcome);
//
//   struct ProbeOutcome {          // offsets
//       std::int32_t result;       //  0
//       std::uint32_t popped;      //  4  what the export removed
//       std::uint32_t espBefore;   //  8  ESP before pushing the routine's arguments
//       std::uint32_t espAfter;    // 12  ESP after removing them again
//       std::uint32_t ebx, esi, edi, ebp;  // 16..28 after the call
//   };
//
// The expected register values are the PROBE_* constants in LibraryCallTest.cpp.

    .text
    .p2align 4
    .globl _qm47test_ProbeCall
    .def _qm47test_ProbeCall
    .scl 2
    .type 32
    .endef
_qm47test_ProbeCall:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 32(%esp), %eax         // outcome
    pushl %eax                  // kept at (%esp) across the call
    // Stack now: outcome, edi, esi, ebx, ebp, return, function(24), arguments(28),
    // count(32), outcome(36).
    movl %esp, 8(%eax)          // espBefore
    leal 4(%eax), %ecx
    movl 24(%esp), %edx         // function
    pushl $0                    // fault: none is raised here
    pushl %ecx                  // calleePoppedBytes = &outcome->popped
    pushl 40(%esp)              // count (was at 32; ESP moved by 8)
    pushl 40(%esp)              // arguments (was at 28; ESP moved by 12)
    pushl %edx                  // function
    movl $0x0B0B0B0B, %ebx
    movl $0x05050505, %esi
    movl $0x0D0D0D0D, %edi
    movl $0x0E0E0E0E, %ebp
    call _qm47_CallLibrary32
    addl $20, %esp
    movl (%esp), %ecx           // outcome
    movl %eax, 0(%ecx)
    movl %esp, 12(%ecx)
    movl %ebx, 16(%ecx)
    movl %esi, 20(%ecx)
    movl %edi, 24(%ecx)
    movl %ebp, 28(%ecx)
    addl $4, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
