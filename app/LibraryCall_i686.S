// qm47_CallLibrary32: calls a 32-bit library export whose calling convention
// is not known, __stdcall or __cdecl.
//
//   std::int32_t qm47_CallLibrary32(const void* function,
//                                   const std::uint32_t* arguments,
//                                   std::uint32_t count,
//                                   std::uint32_t* calleePoppedBytes);   (cdecl)
//
// The routine keeps its frame in EBP, which both conventions preserve. It
// pushes the arguments last first onto a 16-byte aligned stack, calls, and
// then takes the stack pointer back from EBP, so it does not matter whether
// the export removed its arguments (__stdcall), left them (__cdecl) or removed
// some other number of bytes. How many it removed is measured against ESI
// (also preserved by both) and stored in *calleePoppedBytes unless that is
// null. EBX, ESI, EDI and EBP are restored for our caller.

    .text
    .p2align 4
    .globl _qm47_CallLibrary32
    .def _qm47_CallLibrary32
    .scl 2
    .type 32
    .endef
_qm47_CallLibrary32:
    .cfi_startproc
    pushl %ebp
    .cfi_def_cfa_offset 8
    .cfi_offset %ebp, -8
    movl %esp, %ebp
    .cfi_def_cfa_register %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    .cfi_offset %ebx, -12
    .cfi_offset %esi, -16
    .cfi_offset %edi, -20

    movl 8(%ebp), %eax          // function
    movl 12(%ebp), %edx         // arguments
    movl 16(%ebp), %ecx         // count

    // Room for the arguments such that ESP is 16-byte aligned at the call.
    leal (,%ecx,4), %ebx
    movl %esp, %edi
    subl %ebx, %edi
    andl $-16, %edi
    addl %ebx, %edi
    movl %edi, %esp

    // Push arguments[count - 1] down to arguments[0].
1:  testl %ecx, %ecx
    jz 2f
    pushl -4(%edx,%ecx,4)
    decl %ecx
    jmp 1b

2:  movl %esp, %esi             // ESP with the arguments in place
    call *%eax                  // EAX: the export's result

    movl %esp, %ecx             // what the export removed
    subl %esi, %ecx
    movl 20(%ebp), %edx
    testl %edx, %edx
    jz 3f
    movl %ecx, (%edx)

3:  leal -12(%ebp), %esp        // back to our saved registers, whatever the export did
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    .cfi_def_cfa %esp, 4
    .cfi_restore %ebp
    ret
    .cfi_endproc
