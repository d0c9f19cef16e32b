# Files of the windows-free markup core (marks, their geometry, the renderer,
# hit testing, redaction) and the Windows glue (letters from GDI fonts).
set(TAVRO_MARKUP_CORE_SOURCES
  GlyphSource.h
  Mark.cpp Mark.h
  MarkGeometry.cpp MarkGeometry.h
  MarkHit.cpp MarkHit.h
  MarkRenderer.cpp MarkRenderer.h
  Raster.h
  Redaction.cpp Redaction.h
  TextLayout.cpp TextLayout.h
)
set(TAVRO_MARKUP_GLUE_SOURCES
  GdiGlyphSource.cpp GdiGlyphSource.h
)
