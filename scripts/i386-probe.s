# The smallest 32-bit x86 Linux program: prints one line through the i386
# system-call gate and exits with 0. Whether it runs tells whether this host
# can run the 32-bit Wine loader at all, natively or through an emulator.
    .globl _start
    .text
_start:
    movl $4, %eax            # write(1, line, length)
    movl $1, %ebx
    movl $line, %ecx
    movl $length, %edx
    int $0x80
    movl $1, %eax            # exit(0)
    xorl %ebx, %ebx
    int $0x80
    .data
line:
    .ascii "i386 code runs\n"
    length = . - line
