// qm47_CallLibrary32: calls a 32-bit library export whose calling convention
// is not known, __stdcall or __cdecl, and catches a structured exception the
// export raises and does not handle itself.
//
//   std::int32_t qm47_CallLibrary32(const void* function,
//                                   const std::uint32_t* arguments,
//                                   std::uint32_t count,
//                                   std::uint32_t* calleePoppedBytes,
//                                   qm47::LibraryFault* fault);          (cdecl)
//
// The routine keeps its frame in EBP, which both conventions preserve. It
// pushes the arguments last first onto a 16-byte aligned stack, calls, and
// then takes the stack pointer back from EBP, so it does not matter whether
// the export removed its arguments (__stdcall), left them (__cdecl) or removed
// some other number of bytes. How many it removed is measured against ESI
// (also preserved by both) and stored in *calleePoppedBytes unless that is
// null. EBX, ESI, EDI and EBP are restored for our caller.
//
// Around the call the routine puts its own exception registration record at
// the head of the thread's chain (FS:[0]): the system searches the frames
// from the innermost outwards, so the export's own handlers come first (an
// exception it handles never reaches us) and ours comes next, before any
// frame further out, such as the system's window-procedure callback that
// some Windows versions end a search at. An exception that reaches it is
// written to *fault (raised 1, its code and address), the export's frames are
// unwound (RtlUnwind runs their handlers), and the routine returns 0 from its
// own frame as if the export had returned. The program has no SafeSEH table
// and no NO_SEH flag, so the system accepts the handler (the release check,
// scripts/release-test.sh, fails otherwise).

// The record: the next record, the handler, then ours: the fault to fill.
#define RECORD_FROM_EBP 24

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

    // The exception registration record, at EBP - RECORD_FROM_EBP.
    pushl 24(%ebp)              // fault
    pushl $_qm47_LibraryFaultHandler32
    pushl %fs:0
    movl %esp, %fs:0

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
    jz .Lreturn32
    movl %ecx, (%edx)

.Lreturn32:
    // Our record off the chain again; then back to our saved registers,
    // whatever the export did.
    movl -RECORD_FROM_EBP(%ebp), %ecx
    movl %ecx, %fs:0
    leal -12(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    .cfi_def_cfa %esp, 4
    .cfi_restore %ebp
    ret
    .cfi_endproc

// The handler of the record (cdecl, called by the system's dispatcher):
//   EXCEPTION_DISPOSITION handler(EXCEPTION_RECORD* record, void* establisherFrame,
//                                 CONTEXT* context, void* dispatcherContext);
// While frames are being unwound it has nothing to do (ExceptionContinueSearch);
// otherwise it never returns: it continues in qm47_CallLibrary32's frame.
    .p2align 4
    .def _qm47_LibraryFaultHandler32
    .scl 3
    .type 32
    .endef
_qm47_LibraryFaultHandler32:
    movl 4(%esp), %eax          // the exception record
    testl $6, 4(%eax)           // ExceptionFlags: EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND
    jnz 1f
    movl 8(%esp), %edx          // our registration record
    movl 8(%edx), %ecx          // the fault to fill
    // A second exception, raised while the first one's frames are unwound,
    // reaches us too: the first one is what went wrong, and it stays.
    cmpl $0, (%ecx)
    jne 3f
    movl $1, (%ecx)             // raised
    movl (%eax), %ebx           // ExceptionCode
    movl %ebx, 4(%ecx)
    movl 12(%eax), %ebx         // ExceptionAddress
    movl %ebx, 8(%ecx)
3:
    // Unwind the frames inside ours; RtlUnwind (__stdcall) returns here
    // with ours first on the chain.
    pushl $0                    // return value
    pushl %eax                  // exception record
    pushl $2f                   // where to go on
    pushl %edx                  // the frame to unwind to
    call _RtlUnwind@16
2:  movl 8(%esp), %edx
    leal RECORD_FROM_EBP(%edx), %ebp
    xorl %eax, %eax
    jmp .Lreturn32
1:  movl $1, %eax               // ExceptionContinueSearch
    ret
