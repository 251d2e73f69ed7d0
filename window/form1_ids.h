// Control IDs of the Win32 dialog Form1 (Form1.rc), one per control of the
// design, named after it. "Scannen" is the dialog's IDOK and "Ende" its
// IDCANCEL, so that Enter and Escape reach them.
#pragma once

#define IDD_Form1 100
#define IDI_Zweigschau 101

#define IDC_cmdScannen 1
#define IDC_cmdEnde 2
#define IDC_comMaskeName 1001
#define IDC_comMaskeTyp 1002
#define IDC_cbTab 1003
#define IDC_cbNurOrdnerMitPassendenDateien 1004
#define IDC_cbDateien 1005
#define IDC_optAlleOderLetzte1 1006
#define IDC_optAlleOderLetzte0 1007
#define IDC_txtEbenen 1008
#define IDC_cbinkl 1009
#define IDC_cmdOrdnerWaehlen 1010
#define IDC_txtPfadEingabe 1011
#define IDC_fraMaske 1012
#define IDC_lblArbeite 1013
#define IDC_Label2 1014
#define IDC_lblKeineUnterordner 1015
#define IDC_lblNichtGefunden 1016
#define IDC_lblfertig 1017
#define IDC_Label1 1018
#define IDC_Label3 1019
