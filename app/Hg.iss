; Installer script template of Pagimond.
; Pagimond fills the words in square brackets and writes the result to Zell.iss:
;   [titolo_file]  the project's folder name (safe as a file name)
;   [titolo]       the title of the book
;   [appub]        the author (publisher)
;   [sito]         the author's web site
;   [app.path]     the folder of Pagimond
;   [navig]        the launcher that opens the book (Start.exe)
; When it runs, Output holds the compiled book together with the files of the
; Extra folder (Start.exe, Registro.exe, Help.txt, ReadMe.txt).
; The book is installed for the current user, in a folder the reader can write
; to, so that Registro can keep its diary Dati.txt beside itself.

[Setup]
AppId=Pagimond - [titolo_file]
AppName=[titolo]
AppVersion=1.0
AppVerName=[titolo]
AppPublisher=[appub]
AppPublisherURL=[sito]
AppSupportURL=[sito]
AppUpdatesURL=[sito]
AppComments=Librogame realizzato con Pagimond
DefaultDirName={userdocs}\Librigame\[titolo_file]
DefaultGroupName=[titolo_file]
DisableProgramGroupPage=yes
AllowNoIcons=yes
PrivilegesRequired=lowest
InfoBeforeFile=[app.path]\Output\ReadMe.txt
OutputDir=[app.path]\Distribuisci
OutputBaseFilename=[titolo_file] - Setup
UninstallDisplayName=[titolo]
UninstallDisplayIcon={app}\[navig]
Compression=lzma2
SolidCompression=yes

[Languages]
Name: "italian"; MessagesFile: "compiler:Languages\Italian.isl"

[Tasks]
Name: "desktopicon"; Description: "{cm:CreateDesktopIcon}"; GroupDescription: "{cm:AdditionalIcons}"

[Files]
Source: "[app.path]\Output\*"; DestDir: "{app}"; Flags: ignoreversion recursesubdirs createallsubdirs

[Icons]
Name: "{group}\[titolo_file]"; Filename: "{app}\[navig]"; WorkingDir: "{app}"; Comment: "Leggi il librogame"
Name: "{group}\Registro - dadi e diario"; Filename: "{app}\Registro.exe"; WorkingDir: "{app}"
Name: "{group}\Guida alla lettura"; Filename: "{app}\Help.txt"
Name: "{group}\Leggimi"; Filename: "{app}\ReadMe.txt"
Name: "{group}\Sito dell'autore"; Filename: "[sito]"
Name: "{group}\Disinstalla [titolo_file]"; Filename: "{uninstallexe}"
Name: "{userdesktop}\[titolo_file]"; Filename: "{app}\[navig]"; WorkingDir: "{app}"; Tasks: desktopicon

[Run]
Filename: "{app}\[navig]"; WorkingDir: "{app}"; Description: "Inizia subito a leggere"; Flags: nowait postinstall skipifsilent
