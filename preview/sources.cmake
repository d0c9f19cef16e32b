set(TAVRO_PREVIEW_SOURCES
  Overlays.cpp
  PreviewUnit.cpp
)
set(TAVRO_PREVIEW_LIBS)
