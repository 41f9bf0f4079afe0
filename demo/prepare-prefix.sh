# Sourced by scripts/demo and scripts/screenshot: fills the current Wine prefix with a demo
# machine: AutoCAD 2010 and 2014 below the native root, 2009 visible under both roots, their
# installation folders (with Fonts and Drv), one user profile, and a folder that holds
# SetUp.exe beside a Data folder of placeholder plug-in files.
# Arguments: the SetUp.exe to ship.
prepare_demo_machine() {
    local setup_exe=$1 drive_c=$WINEPREFIX/drive_c
    local native='HKLM\SOFTWARE\Autodesk\AutoCAD' wow='HKLM\SOFTWARE\Wow6432Node\Autodesk\AutoCAD'
    # Start from no AutoCAD at all; on a fresh prefix there is nothing to delete.
    wine reg delete 'HKLM\SOFTWARE\Autodesk' /f >/dev/null 2>&1 || true
    wine reg delete 'HKLM\SOFTWARE\Wow6432Node\Autodesk' /f >/dev/null 2>&1 || true
    wine reg delete 'HKCU\SOFTWARE\Autodesk' /f >/dev/null 2>&1 || true
    add_release "$native\\R18.0\\ACAD-8001:804" 'C:\Program Files\AutoCAD 2010\' 'AutoCAD 2010 - 简体中文 (Simplified Chinese)'
    add_release "$native\\R19.1\\ACAD-D001:804" 'C:\Program Files\AutoCAD 2014\' 'AutoCAD 2014 - 简体中文 (Simplified Chinese)'
    add_release "$wow\\R17.2\\ACAD-7001:804" 'C:\Program Files\AutoCAD 2009\' 'AutoCAD 2009'
    add_release "$native\\R17.2\\ACAD-7001:804" 'C:\Program Files\AutoCAD 2009\' 'AutoCAD 2009'
    wine reg add 'HKCU\SOFTWARE\Autodesk\AutoCAD\R19.1\ACAD-D001:804\Profiles\<<未命名配置>>\Variables' \
        /v TRUSTEDPATHS /d 'c:\lib;d:\tools' /f >/dev/null
    for year in 2009 2010 2014; do
        mkdir -p "$drive_c/Program Files/AutoCAD $year/Fonts" "$drive_c/Program Files/AutoCAD $year/Drv"
    done
    rm -rf "$drive_c/TorlenDemo"
    mkdir -p "$drive_c/TorlenDemo/Data"
    cp "$setup_exe" "$drive_c/TorlenDemo/SetUp.exe"
    local name
    for name in TL_DodudEdiv2008.ARX TL_DodudEdiv2009.ARX TL_DodudEdiv2010.ARX TL_DodudEdiv2010_32.ARX \
        TL_DodudEdiv2013.ARX TL_DodudEdiv2015.ARX ACAD2007P.dll ACAD2009P.dll ACAD2010P.dll ACAD2013P.dll \
        itextsharp.dll Torlen_EN.shx Torlen_HZ.shx Torlen.prt5 Torlen.Ini; do
        echo "demo placeholder for $name" >"$drive_c/TorlenDemo/Data/$name"
    done
}

add_release() {  # key, folder, product name
    wine reg add "$1" /v AcadLocation /d "$2" /f >/dev/null
    wine reg add "$1" /v ProductName /d "$3" /f >/dev/null
}
