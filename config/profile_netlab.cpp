// The shaped-line lab (lab/netlab): the lab servers (lab/run --prefix 198.19)
// in the operator-side namespace, reached through routers and a token-bucket
// bottleneck from the customer side.
#include "config/ServerProfile.h"

const char* const ServerProfileName = "netlab";
const char* const updatePublicKey = "";
const char* const platformServer = "198.19.80.1";

const char* const MetroDownloadTable[4] = {
    "http://198.19.80.11:8000/data.iso",
    "http://198.19.80.12:8000/data.iso",
    "http://198.19.80.1/data.iso",
    "http://198.19.80.13:8000/data.iso",
};

const char* const InternetDownloadTable[16] = {
    "http://198.19.81.1/releases/22.04/ubuntu-22.04.5-desktop-amd64.iso",
    "http://198.19.81.2/fedora/linux/releases/40/Workstation/x86_64/iso/"
    "Fedora-Workstation-Live-x86_64-40-1.14.iso",
    "http://198.19.81.3/libreoffice/stable/7.6.7/win/x86_64/LibreOffice_7.6.7_Win_x86-64.msi",
    "http://198.19.81.4/centos/7/isos/x86_64/CentOS-7-x86_64-DVD-2009.iso",
    "http://198.19.81.5/firefox/releases/126.0/win64/zh-CN/Firefox%20Setup%20126.0.exe",
    "http://198.19.81.6/opensuse/distribution/leap/15.6/iso/openSUSE-Leap-15.6-DVD-x86_64-Media.iso",
    "http://198.19.81.7/archlinux/iso/2024.06.01/archlinux-2024.06.01-x86_64.iso",
    "http://198.19.81.8/apache/openoffice/4.1.15/binaries/zh-CN/"
    "Apache_OpenOffice_4.1.15_Win_x86_install_zh-CN.exe",
    "http://198.19.81.9/gimp/v2.10/windows/gimp-2.10.38-setup.exe",
    "http://198.19.81.10/videolan/vlc/3.0.21/win64/vlc-3.0.21-win64.exe",
    "http://198.19.81.11/blender/release/Blender4.1/blender-4.1.1-windows-x64.msi",
    "http://198.19.81.12/rockylinux/9/isos/x86_64/Rocky-9.4-x86_64-dvd.iso",
    "http://198.19.81.13/almalinux/9/isos/x86_64/AlmaLinux-9.4-x86_64-dvd.iso",
    "http://198.19.81.14/linuxmint/stable/21.3/linuxmint-21.3-cinnamon-64bit.iso",
    "http://198.19.81.15/kde/stable/krita/5.2.2/krita-x64-5.2.2-setup.exe",
    "http://198.19.81.16/inkscape/win/inkscape-1.3.2_2023-11-25_091e20e-x64.msi",
};

const char* const MetroUploadTable[8] = {
    "http://198.19.80.11:8000/recv_upload.php", "http://198.19.80.12:8000/recv_upload.php",
    "http://198.19.80.1/recv_upload.php",       "http://198.19.80.13:8000/recv_upload.php",
    "http://198.19.80.14:8000/recv_upload.php", "http://198.19.80.15:8000/recv_upload.php",
    "http://198.19.80.16:8000/recv_upload.php", "http://198.19.80.17:8000/recv_upload.php",
};

const char* const InternetUploadTable[6] = {
    "http://198.19.80.18/recv_upload.php",      "http://198.19.80.1/recv_upload.php",
    "http://198.19.80.13:8000/recv_upload.php", "http://198.19.80.14:8000/recv_upload.php",
    "http://198.19.80.15:8000/recv_upload.php", "http://198.19.80.16:8000/recv_upload.php",
};

const char* const AppTestSites[6] = {
    "http://198.19.82.1/", "http://198.19.82.2/",         "http://198.19.82.3/",
    "http://198.19.82.4/", "http://198.19.82.5/webmail/", "http://198.19.82.6/",
};
