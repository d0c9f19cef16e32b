# Saving: the Save command, the file-exists dialog, the BMP and JPEG writers
# and the safe replacement of files.
set(TAVRO_OUTPUT_SOURCES
  BmpWriter.cpp
  ByteSink.cpp
  FileExistsUnit.cpp
  FileNaming.cpp
  FileSystem.cpp
  JpegEncoder.cpp
  PicDialog.cpp
  PictureFile.cpp
  SafeFileWriter.cpp
  SaveFile.cpp
)
set(TAVRO_OUTPUT_LIBS tavro_libjpeg comdlg32)
