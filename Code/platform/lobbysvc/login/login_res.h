// Resource ids of RWLiveLogin.exe.
#pragma once

#define IDD_RWLIVE_LOGIN 100
#define IDC_LOGIN_SERVER 1001
#define IDC_LOGIN_ACCOUNT 1002
#define IDC_LOGIN_PASSWORD 1003
#define IDC_LOGIN_NEW 1004
#define IDC_LOGIN_STATUS 1005
