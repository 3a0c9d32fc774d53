// Resource identifiers of Stats.dll, shared by stats.rc and the code that
// loads the templates. Plain #defines: the resource compiler reads this file.
#pragma once

#define IDD_CABRILLO 101
#define IDD_MULTIPLIER 104
#define IDD_SWITCH_MODE 105
#define IDI_STATS 108
#define IDD_MASTER 113

// Multiplier window: the one owner-drawn button covering the client area.
#define IDC_MULTIPLIER_GRID 1003

// Switch mode panel buttons and the "View worked Prefix" check box.
#define IDC_MODE_RTTY 1003
#define IDC_MODE_BPSK31 1004
#define IDC_MODE_OLIVIA 1005
#define IDC_MODE_HELL 1006
#define IDC_MODE_MFSK 1007
#define IDC_MODE_MT63 1008
#define IDC_MODE_THROB 1009
#define IDC_MODE_BPSK63 1010
#define IDC_MODE_BPSK125 1011
#define IDC_MODE_SSTV 1012
#define IDC_VIEW_PREFIX 1014

// Setup dialog check box "Use window Multiplier".
#define IDC_USE_MULTIPLIER 1014

// Cabrillo header form fields.
#define IDC_CAB_SOAPBOX 1001
#define IDC_CAB_ADDRESS 1002
#define IDC_CAB_ADDRESS_COUNTRY 1003
#define IDC_CAB_EMAIL 1004
#define IDC_CAB_CLUB 1005
#define IDC_CAB_OPERATORS 1006
#define IDC_CAB_NAME 1007
#define IDC_CAB_CLAIMED 1008
#define IDC_CAB_CONTEST 1009
#define IDC_CAB_CALLSIGN 1010
#define IDC_CAB_ADDRESS_POSTALCODE 1011
#define IDC_CAB_ADDRESS_STATE 1012
#define IDC_CAB_CAT_OPERATOR 1013
#define IDC_CAB_ADDRESS_CITY 1014
#define IDC_CAB_CAT_TRANSMITTER 1015
#define IDC_CAB_CAT_STATION 1016
#define IDC_CAB_CAT_POWER 1017
#define IDC_CAB_CAT_MODE 1018
#define IDC_CAB_CAT_BAND 1019
#define IDC_CAB_CAT_ASSISTED 1020
#define IDC_CAB_CAT_OVERLAY 1021
#define IDC_CAB_LOCATION 1022
