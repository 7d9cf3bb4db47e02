/* Calling-convention glue of the host simulator for 32-bit x86, written by hand so that the
   register convention of the host boundary is exercised exactly: the first three arguments
   in EAX, EDX and ECX, further arguments pushed from left to right, the called side removing
   its stack arguments. */

        .text

/* uint32_t pel_call_reg(void* fn, uint32_t eax, uint32_t edx, uint32_t ecx,
                         const uint32_t* pila, int n, int32_t* desfase)
   Calls fn with the three registers loaded and pila[0..n-1] pushed in that order (pila[0]
   first). Stores in *desfase the stack pointer after the return minus the stack pointer
   before the pushes: 0 when the callee removed exactly its n arguments, -4*n when it removed
   nothing. The stack is restored whatever the callee did. Also checks that the callee kept
   EBX, ESI and EDI: when it did not, *desfase gets 0x7fffffff. */
        .globl  _pel_call_reg
_pel_call_reg:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        movl    24(%ebp), %esi          /* pila */
        movl    28(%ebp), %ecx          /* n */
        movl    %esp, %edi              /* stack pointer before the pushes */
1:      testl   %ecx, %ecx
        jz      2f
        pushl   (%esi)
        addl    $4, %esi
        decl    %ecx
        jmp     1b
2:      movl    8(%ebp), %ebx           /* fn */
        movl    %edi, %esi              /* a second copy, to check the callee kept ESI and EDI */
        movl    12(%ebp), %eax
        movl    16(%ebp), %edx
        movl    20(%ebp), %ecx
        call    *%ebx
        movl    %esp, %ecx
        subl    %edi, %ecx              /* desfase */
        cmpl    %esi, %edi
        jne     3f
        cmpl    8(%ebp), %ebx
        je      4f
3:      movl    $0x7fffffff, %ecx
4:      movl    32(%ebp), %edx
        movl    %ecx, (%edx)
        movl    %ebp, %esp
        subl    $12, %esp
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret

/* Host procedures as the plug-in calls them. Each passes its arguments, in their documented
   order, to a C function of the simulator and removes its own stack arguments on return. */

/* HostAddAction(id EAX, name EDX, hint ECX; stack: kinds, last, count pushed in this order) */
        .globl  _pel_stub_addaction
_pel_stub_addaction:
        pushl   4(%esp)                 /* count: pushed last by the caller, nearest the top */
        pushl   12(%esp)                /* last */
        pushl   20(%esp)                /* kinds */
        pushl   %ecx
        pushl   %edx
        pushl   %eax
        call    _pel_host_addaction
        addl    $24, %esp
        ret     $12

/* HostSpareProc: never meant to be called; reports it. */
        .globl  _pel_stub_spare
_pel_stub_spare:
        call    _pel_host_spare
        ret

/* Two-argument procedures: name or code in EAX, value or slot in EDX. */
        .globl  _pel_stub_getvariable
_pel_stub_getvariable:
        pushl   %edx
        pushl   %eax
        call    _pel_host_getvariable
        addl    $8, %esp
        ret

        .globl  _pel_stub_setvariable
_pel_stub_setvariable:
        pushl   %edx
        pushl   %eax
        call    _pel_host_setvariable
        addl    $8, %esp
        ret

        .globl  _pel_stub_interfaceaccess
_pel_stub_interfaceaccess:
        pushl   %edx
        pushl   %eax
        call    _pel_host_interfaceaccess
        addl    $8, %esp
        ret

        .globl  _pel_stub_scriptprocessor
_pel_stub_scriptprocessor:
        pushl   %eax
        call    _pel_host_scriptprocessor
        addl    $4, %esp
        ret
