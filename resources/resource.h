// Resource ids of the host executable: its icon and its cursors.
#pragma once

#define IDI_POMELO          102

#define IDC_POMELO_POINT    103
#define IDC_POMELO_UP       116
#define IDC_POMELO_RIGHT    117
#define IDC_POMELO_DOWN     118
#define IDC_POMELO_LEFT     119
#define IDC_POMELO_WAIT     120
