// The calling convention of the host boundary.
//
// On 32-bit x86 the host uses the register convention: the first three arguments in EAX, EDX
// and ECX, further arguments pushed from left to right, the called side removes its stack
// arguments, the result in EAX. GCC's regparm(3) with stdcall gives the same registers and
// callee cleanup but pushes stack arguments from right to left; with one stack argument the
// order does not matter, and where there are more the declarations below list them reversed.
// On x86-64 the boundary is the platform's own convention (only used for testing).
#pragma once

#if defined(__i386__)
#define NB_REGISTRO __attribute__((regparm(3), stdcall))
#define NB_I386 1
#else
#define NB_REGISTRO
#define NB_I386 0
#endif
