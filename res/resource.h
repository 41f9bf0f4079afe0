// Resource and control identifiers of the installer, shared by the resource script and the code.
#pragma once

#define IDI_SETUP 1
#define IDD_SETUP 141
#define IDB_LOGO 147
#define IDB_FINISH_MENU 151

#define IDC_INSTALL_PATH 1000
#define IDC_TITLE 1013
#define IDC_PROGRESS 1014
#define IDC_BROWSE 1015
#define IDC_COMPONENTS_LABEL 1016
#define IDC_PATH_LABEL 1017
#define IDC_ACAD2007 1018
#define IDC_ACAD2008 1019
#define IDC_ACAD2009 1020
#define IDC_FINISH_PICTURE 1021
#define IDC_INSTALL 1022
#define IDC_FINISH_TEXT 1023
#define IDC_PLATFORM 1024
#define IDC_ACAD2011 1026
#define IDC_ACAD2010 1027
#define IDC_ACAD2012 1028
/* 1029 .. 1042: AutoCAD 2013 .. 2026 */
#define IDC_ACAD2026 1042
