/* The compiled .res file, linked into the program as read-only data. */
    .section .rodata
    .balign 16
    .global pokorinder_res_begin
    .global pokorinder_res_end
pokorinder_res_begin:
    .incbin APP_RES
pokorinder_res_end:
    .section .note.GNU-stack,"",@progbits
