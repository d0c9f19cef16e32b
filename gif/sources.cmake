# Files of the windows-free GIF core and the glue from a bitmap to rows.
set(TAVRO_GIF_CORE_SOURCES
  AnimationEncoder.cpp AnimationEncoder.h
  AnimationPalette.cpp AnimationPalette.h
  AnimationStream.cpp AnimationStream.h
  BitPacker.h
  ByteSink.cpp ByteSink.h
  ColorLookup.cpp ColorLookup.h
  ColorReduction.cpp ColorReduction.h
  DIBAccess.cpp DIBAccess.h
  DitherEngine.h
  GIFColor.h
  GIFColorMap.cpp GIFColorMap.h
  GIFException.h
  GIFHeader.cpp GIFHeader.h
  GIFImage.cpp GIFImage.h
  GIFSubImage.cpp GIFSubImage.h
  GIFTrailer.h
  GIFWriter.cpp GIFWriter.h
  HashTable.cpp HashTable.h
  LZWEncoder.cpp LZWEncoder.h
  PixelRows.h
)
set(TAVRO_GIF_GLUE_SOURCES
  GIFBitmap.cpp GIFBitmap.h
)
