// Resource identifiers shared by the resource script and the game code.
#pragma once

#define IDB_BACKGROUND 101
#define IDB_SYMBOL1 112
#define IDB_SYMBOL2 113
#define IDB_SYMBOL3 114
#define IDB_SYMBOL4 115
#define IDB_SYMBOL5 116
#define IDB_SYMBOL6 117
#define IDB_SYMBOL7 118
#define IDB_SYMBOL8 119

#define IDD_ABOUT 122

#define IDC_STATIC (-1)
