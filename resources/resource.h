// Resource ids of the host executable: its icon, its cursors and its menus.
#pragma once

#define IDI_POMELO          102

#define IDC_POMELO_POINT    103
#define IDC_POMELO_UP       116
#define IDC_POMELO_RIGHT    117
#define IDC_POMELO_DOWN     118
#define IDC_POMELO_LEFT     119
#define IDC_POMELO_WAIT     120

// The game menu, shown as a popup at the scenario's request: its first
// submenu is what the player sees; the scenario acts on the command ids.
#define IDR_GAME_MENU       200
#define IDM_GAME_CONTINUE   201
#define IDM_GAME_END        202
#define IDM_GAME_NAME       203
#define IDM_GAME_MAP        204
#define IDM_GAME_SAVE       205
#define IDM_GAME_LOAD       206
