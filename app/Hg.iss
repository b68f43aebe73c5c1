; Installer script template of Pagimond.
; Pagimond fills the words in square brackets and writes the result to Zell.iss:
;   [titolo_file]  the project's name, made a safe Windows file name
;   [titolo]       the title of the book
;   [appub]        the author (publisher)
;   [sito]         the author's web site
;   [app.path]     the folder of Pagimond
;   [navig]        the launcher that opens the book (Start.exe)
; When it runs, Output holds the compiled book together with the files of the
; Extra folder (Start.exe, Help.txt, ReadMe.txt, and Registro.exe when it is
; there). Without the launcher the shortcuts open index.htm in the browser.
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
Name: "{group}\[titolo_file]"; Filename: "{app}\[navig]"; WorkingDir: "{app}"; Comment: "Leggi il librogame"; Check: HasLauncher
Name: "{group}\[titolo_file]"; Filename: "{app}\index.htm"; Comment: "Leggi il librogame"; Check: not HasLauncher
Name: "{group}\Registro - dadi e diario"; Filename: "{app}\Registro.exe"; WorkingDir: "{app}"; Check: HasRegistro
Name: "{group}\Guida alla lettura"; Filename: "{app}\Help.txt"
Name: "{group}\Leggimi"; Filename: "{app}\ReadMe.txt"
Name: "{group}\Sito dell'autore"; Filename: "[sito]"
Name: "{group}\Disinstalla [titolo_file]"; Filename: "{uninstallexe}"
Name: "{userdesktop}\[titolo_file]"; Filename: "{app}\[navig]"; WorkingDir: "{app}"; Tasks: desktopicon; Check: HasLauncher
Name: "{userdesktop}\[titolo_file]"; Filename: "{app}\index.htm"; Tasks: desktopicon; Check: not HasLauncher

[Run]
Filename: "{app}\[navig]"; WorkingDir: "{app}"; Description: "Inizia subito a leggere"; Flags: nowait postinstall skipifsilent; Check: HasLauncher
Filename: "{app}\index.htm"; Description: "Inizia subito a leggere"; Flags: shellexec nowait postinstall skipifsilent; Check: not HasLauncher

[Code]
// The launcher and Registro come from the Extra folder of Pagimond; a book built
// without them is still opened through its index.htm.
function HasLauncher: Boolean;
begin
  Result := FileExists(ExpandConstant('{app}\[navig]'));
end;

function HasRegistro: Boolean;
begin
  Result := FileExists(ExpandConstant('{app}\Registro.exe'));
end;
