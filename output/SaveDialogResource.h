// Resource ids of the save dialog's preview pane (a child dialog template).
#pragma once

#define IDD_PICDIALOG_PANE 2100
#define IDC_PICFRAME 2101
#define IDC_PICPREVIEW 2102
#define IDC_PICSIZE 2103
