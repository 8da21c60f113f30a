// qm47_CallLibrary64: calls a 64-bit library export with up to three
// arguments, each passed as a 64-bit word (an integer or pointer argument
// of the Windows x64 convention, which the export reads at its own width),
// and catches a structured exception the export raises and does not handle
// itself.
//
//   std::int32_t qm47_CallLibrary64(const void* function, std::uint64_t first,
//                                   std::uint64_t second, std::uint64_t third,
//                                   qm47::LibraryFault* fault);
//
// The routine's unwind information names its own exception handler, so the
// system, which searches the frames from the innermost outwards, asks it
// right after the export's own frames (an exception the export handles never
// reaches it) and before any frame further out, such as the system's
// window-procedure callback that 64-bit Windows ends a search at. An
// exception that reaches it is written to *fault (raised 1, its code and
// address), the export's frames are unwound (RtlUnwindEx runs their
// handlers) and the routine returns 0 from its own frame as if the export had
// returned.

// The routine's frame: 32 bytes of argument space for the export, the fault
// at 32, and 16 more to keep the stack 16-byte aligned at the call.
#define FRAME 56
#define FAULT_IN_FRAME 32

    .text
    .p2align 4
    .globl qm47_CallLibrary64
    .def qm47_CallLibrary64
    .scl 2
    .type 32
    .endef
    .seh_proc qm47_CallLibrary64
qm47_CallLibrary64:
    subq $FRAME, %rsp
    .seh_stackalloc FRAME
    .seh_handler qm47_LibraryFaultHandler64, @except
    .seh_endprologue
    movq FRAME+40(%rsp), %rax   // fault: the fifth argument
    movq %rax, FAULT_IN_FRAME(%rsp)
    movq %rcx, %rax
    movq %rdx, %rcx
    movq %r8, %rdx
    movq %r9, %r8
    callq *%rax
    nop                         // the return address stays inside the routine's body
.Lreturn64:
    addq $FRAME, %rsp
    ret
.Lfaulted64:
    xorl %eax, %eax
    jmp .Lreturn64
    .seh_endproc

// The handler (called by the system's dispatcher):
//   EXCEPTION_DISPOSITION handler(EXCEPTION_RECORD* record, void* establisherFrame,
//                                 CONTEXT* context, DISPATCHER_CONTEXT* dispatcher);
// establisherFrame is qm47_CallLibrary64's stack pointer after its prologue.
// While frames are being unwound it has nothing to do (ExceptionContinueSearch);
// otherwise it never returns: RtlUnwindEx goes on at .Lfaulted64.
    .p2align 4
    .def qm47_LibraryFaultHandler64
    .scl 3
    .type 32
    .endef
    .seh_proc qm47_LibraryFaultHandler64
qm47_LibraryFaultHandler64:
    subq $FRAME, %rsp
    .seh_stackalloc FRAME
    .seh_endprologue
    testl $0x66, 4(%rcx)        // ExceptionFlags: any of the unwinding ones
    jnz 1f
    movq FAULT_IN_FRAME(%rdx), %rax
    // A second exception, raised while the first one's frames are unwound,
    // reaches us too: the first one is what went wrong, and it stays.
    cmpl $0, (%rax)
    jne 2f
    movl $1, (%rax)             // raised
    movl (%rcx), %r10d          // ExceptionCode
    movl %r10d, 4(%rax)
    movq 16(%rcx), %r10         // ExceptionAddress
    movq %r10, 8(%rax)
2:
    movq 64(%r9), %r10          // the dispatcher's HistoryTable
    movq %r10, 40(%rsp)
    movq %r8, 32(%rsp)          // the context
    movq %rcx, %r8              // the exception record
    movq %rdx, %rcx             // the frame to unwind to
    leaq .Lfaulted64(%rip), %rdx
    xorl %r9d, %r9d             // return value
    callq *__imp_RtlUnwindEx(%rip)
    int3                        // RtlUnwindEx does not return
1:  movl $1, %eax               // ExceptionContinueSearch
    addq $FRAME, %rsp
    ret
    .seh_endproc
