# Files of the windows-free GIF core and the glue from a bitmap to rows.
set(TAVRO_GIF_CORE_SOURCES
)
set(TAVRO_GIF_GLUE_SOURCES
)
