// "Record GIF": the area chosen on the frozen desktop, the live screen
// recorded, then the save dialog for the GIF. A second press while a
// recording runs stops it.
#pragma once

#include "app/MainForm.h"
#include "capture/SelectionOverlay.h"
#include "output/FileExistsDialog.h"

void RecordGifExecute(TForm1& form, TImageForm& overlay, TFileExistsForm& existsDialog);
