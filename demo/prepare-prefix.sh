# Sourced by scripts/demo, scripts/screenshot and tests/msi/run (scripts/build takes the demo's
# Data folder from it for the Windows Installer packages): fills the current Wine prefix with
# a demo machine, a 64-bit Windows as users have it: 32-bit AutoCAD 2009 and 2012 (registered below
# Wow6432Node, installed in "Program Files (x86)"), 64-bit AutoCAD 2014 and 2020 (native
# tree, "Program Files"), their installation folders (with Fonts and Drv), one user profile,
# and a folder that holds SetUp.exe beside a Data folder of placeholder plug-in files. The
# 32 edition offers 2009 and 2012; the 64 edition 2009 (through Wow6432Node), 2014 and 2020.
# Arguments: the SetUp.exe to ship.
prepare_demo_machine() {
    local setup_exe=$1 drive_c=$WINEPREFIX/drive_c
    local native='HKLM\SOFTWARE\Autodesk\AutoCAD' wow='HKLM\SOFTWARE\Wow6432Node\Autodesk\AutoCAD'
    # Start from no AutoCAD at all; on a fresh prefix there is nothing to delete. Every reg
    # command names the 64-bit view: the keys where 64-bit Windows stores them.
    wine reg delete 'HKLM\SOFTWARE\Autodesk' /f /reg:64 >/dev/null 2>&1 || true
    wine reg delete 'HKLM\SOFTWARE\Wow6432Node\Autodesk' /f /reg:64 >/dev/null 2>&1 || true
    wine reg delete 'HKCU\SOFTWARE\Autodesk' /f /reg:64 >/dev/null 2>&1 || true
    add_release "$wow\\R17.2\\ACAD-7001:804" 'C:\Program Files (x86)\AutoCAD 2009\' 'AutoCAD 2009'
    add_release "$wow\\R18.2\\ACAD-A001:804" 'C:\Program Files (x86)\AutoCAD 2012\' 'AutoCAD 2012 - 简体中文 (Simplified Chinese)'
    add_release "$native\\R19.1\\ACAD-D001:804" 'C:\Program Files\AutoCAD 2014\' 'AutoCAD 2014 - 简体中文 (Simplified Chinese)'
    add_release "$native\\R23.1\\ACAD-3001:804" 'C:\Program Files\AutoCAD 2020\' 'AutoCAD 2020 - 简体中文 (Simplified Chinese)'
    wine reg add 'HKCU\SOFTWARE\Autodesk\AutoCAD\R19.1\ACAD-D001:804\Profiles\<<未命名配置>>\Variables' \
        /v TRUSTEDPATHS /d 'c:\lib;d:\tools' /f /reg:64 >/dev/null
    local folder
    for folder in "Program Files (x86)/AutoCAD 2009" "Program Files (x86)/AutoCAD 2012" \
        "Program Files/AutoCAD 2014" "Program Files/AutoCAD 2020"; do
        mkdir -p "$drive_c/$folder/Fonts" "$drive_c/$folder/Drv"
    done
    rm -rf "$drive_c/TorlenDemo"
    write_demo_data "$drive_c/TorlenDemo/Data"
    cp "$setup_exe" "$drive_c/TorlenDemo/SetUp.exe"
}

# The demo's Data folder: a placeholder for each of the plug-in's files. Also the data of the
# Windows Installer packages that scripts/build makes. Argument: the folder (made afresh).
write_demo_data() {
    local folder=$1 name
    rm -rf "$folder"
    mkdir -p "$folder"
    for name in TL_DodudEdiv2008.ARX TL_DodudEdiv2009.ARX TL_DodudEdiv2010.ARX TL_DodudEdiv2010_32.ARX \
        TL_DodudEdiv2013.ARX TL_DodudEdiv2015.ARX TL_DodudEdiv2019.ARX ACAD2007P.dll ACAD2009P.dll \
        ACAD2010P.dll ACAD2013P.dll itextsharp.dll Torlen_EN.shx Torlen_HZ.shx Torlen.prt5 Torlen.Ini; do
        echo "demo placeholder for $name" >"$folder/$name"
    done
}

add_release() {  # key, folder, product name
    wine reg add "$1" /v AcadLocation /d "$2" /f /reg:64 >/dev/null
    wine reg add "$1" /v ProductName /d "$3" /f /reg:64 >/dev/null
}
