// The operator's servers. Their real names are not known to us yet: the
// platform and test servers carry reserved placeholder names (".example"
// never resolves), to be replaced when the operator hands over its hosts.
// The Internet files and sites are public ones of the kinds the pages name.
#include "config/ServerProfile.h"

const char* const ServerProfileName = "production";
const char* const updatePublicKey = "";
const char* const platformServer = "platform.veltrane.example";

const char* const MetroDownloadTable[4] = {
    "http://ts1.veltrane.example:8000/data.iso",
    "http://ts2.veltrane.example:8000/data.iso",
    "http://platform.veltrane.example/data.iso",
    "http://ts3.veltrane.example:8000/data.iso",
};

const char* const InternetDownloadTable[16] = {
    "http://releases.ubuntu.com/22.04/ubuntu-22.04.5-desktop-amd64.iso",
    "http://download.fedoraproject.org/pub/fedora/linux/releases/40/Workstation/x86_64/iso/"
    "Fedora-Workstation-Live-x86_64-40-1.14.iso",
    "http://download.documentfoundation.org/libreoffice/stable/7.6.7/win/x86_64/"
    "LibreOffice_7.6.7_Win_x86-64.msi",
    "http://mirrors.aliyun.com/centos/7/isos/x86_64/CentOS-7-x86_64-DVD-2009.iso",
    "http://download-installer.cdn.mozilla.net/pub/firefox/releases/126.0/win64/zh-CN/"
    "Firefox%20Setup%20126.0.exe",
    "http://download.opensuse.org/distribution/leap/15.6/iso/openSUSE-Leap-15.6-DVD-x86_64-Media.iso",
    "http://mirrors.tuna.tsinghua.edu.cn/archlinux/iso/2024.06.01/archlinux-2024.06.01-x86_64.iso",
    "http://mirrors.ustc.edu.cn/apache/openoffice/4.1.15/binaries/zh-CN/"
    "Apache_OpenOffice_4.1.15_Win_x86_install_zh-CN.exe",
    "http://download.gimp.org/gimp/v2.10/windows/gimp-2.10.38-setup.exe",
    "http://get.videolan.org/vlc/3.0.21/win64/vlc-3.0.21-win64.exe",
    "http://download.blender.org/release/Blender4.1/blender-4.1.1-windows-x64.msi",
    "http://download.rockylinux.org/pub/rocky/9/isos/x86_64/Rocky-9.4-x86_64-dvd.iso",
    "http://repo.almalinux.org/almalinux/9/isos/x86_64/AlmaLinux-9.4-x86_64-dvd.iso",
    "http://mirrors.huaweicloud.com/linuxmint/stable/21.3/linuxmint-21.3-cinnamon-64bit.iso",
    "http://download.kde.org/stable/krita/5.2.2/krita-x64-5.2.2-setup.exe",
    "http://media.inkscape.org/dl/resources/file/inkscape-1.3.2_2023-11-25_091e20e-x64.msi",
};

const char* const MetroUploadTable[8] = {
    "http://ts1.veltrane.example:8000/recv_upload.php", "http://ts2.veltrane.example:8000/recv_upload.php",
    "http://platform.veltrane.example/recv_upload.php", "http://ts3.veltrane.example:8000/recv_upload.php",
    "http://ts4.veltrane.example:8000/recv_upload.php", "http://ts5.veltrane.example:8000/recv_upload.php",
    "http://ts6.veltrane.example:8000/recv_upload.php", "http://ts7.veltrane.example:8000/recv_upload.php",
};

const char* const InternetUploadTable[6] = {
    "http://ts8.veltrane.example/recv_upload.php",      "http://platform.veltrane.example/recv_upload.php",
    "http://ts3.veltrane.example:8000/recv_upload.php", "http://ts4.veltrane.example:8000/recv_upload.php",
    "http://ts5.veltrane.example:8000/recv_upload.php", "http://ts6.veltrane.example:8000/recv_upload.php",
};

const char* const AppTestSites[6] = {
    "http://www.sina.com.cn/", "http://www.sohu.com/",           "http://www.163.com/",
    "http://mail.163.com/",    "http://webmail.189.cn/webmail/", "http://outlook.live.com/",
};
