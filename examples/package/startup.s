    .syntax unified
    .section .vectors, "a"
    .word   __stack_end__
    .word   reset_handler

    .text
    .thumb_func
reset_handler:
    bl      main
1:  b       1b
