set(TAVRO_CAPTURE_SOURCES
  CaptureCommand.cpp
  Composition.cpp
  ImageUnit.cpp
  SelectUnit.cpp
)
set(TAVRO_CAPTURE_LIBS)
