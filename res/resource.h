// Resource and control IDs of the setup program.
#pragma once

#define IDR_MAINFRAME 1          // icon group
#define IDD_SETUP 141            // the setup dialog
#define IDB_LOGO 147             // 64 x 64 logo
#define IDB_MENU_PREVIEW 152     // 303 x 175 picture of the add-on's menu
#define IDR_PAYLOAD_LIST 160     // RCDATA: Data's files with their sizes and SHA-256
                                 // (the distribution's SetUp.exe only, built in by the dist target)

#define IDC_INSTALL_PATH 1000
#define IDC_TITLE 1013
#define IDC_PROGRESS 1014
#define IDC_BROWSE 1015
#define IDC_SELECT_LABEL 1016
#define IDC_PATH_LABEL 1017
#define IDC_EDITION 1021
#define IDC_INSTALL 1022
#define IDC_DONE_LABEL 1023
#define IDC_MENU_PREVIEW 1024
#define IDC_LOGO 1025          // the logo, in both programs' dialogs

#define IDC_ACAD2007 1018
#define IDC_ACAD2008 1019
#define IDC_ACAD2009 1020
#define IDC_ACAD2010 1027
#define IDC_ACAD2011 1026
#define IDC_ACAD2012 1028
#define IDC_ACAD2013 1029
#define IDC_ACAD2014 1030
#define IDC_ACAD2015 1031
#define IDC_ACAD2016 1032
#define IDC_ACAD2017 1033
#define IDC_ACAD2018 1034
#define IDC_ACAD2019 1035
#define IDC_ACAD2020 1036
#define IDC_ACAD2021 1037
#define IDC_ACAD2022 1038
#define IDC_ACAD2023 1039
#define IDC_ACAD2024 1040
#define IDC_ACAD2025 1041
#define IDC_ACAD2026 1042
#define IDC_ACAD2027 1043

#define ID_HELP 57670

// Uninstall.exe
#define IDD_UNINSTALL 142           // its dialog
#define IDC_UNINSTALL_HEADING 1100
#define IDC_UNINSTALL_PLAN 1101
#define IDC_UNINSTALL 1102
#define IDC_UNINSTALL_LABEL 1103
