// KtConfigIds: resource and control identifiers of the setup tool.
#pragma once

#define IDD_SETUP          100
#define IDC_RESOLUTION     1001
#define IDC_DEPTH          1002
#define IDC_FRAME_WINDOW   1010
#define IDC_FRAME_CENTRED  1011
#define IDC_FRAME_FULL     1012
#define IDC_DRIVE          1020
