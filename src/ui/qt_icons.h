// The tool's pictures, drawn by the tool itself: simple line icons in one style (dark ink
// strokes with one warm accent) on a 32-unit grid, for the toolbars, the start page, the
// settings window and the splash.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

class QToolButton;
class QWidget;

namespace pm {

enum class IconKind {
  NewRoom,         // F2
  OpenEditor,      // F3
  Description,     // F4
  StyleSheet,      // F5
  GlobalCode,      // F6
  Properties,      // F7
  Test,            // F8
  Distribute,      // F9
  Map,
  SingleFile,
  Colours,
  ResourceFolder,
  ManageProjects,
  Help,
  Settings,
  Logo,
  NewProject,      // start page
  FirstSteps,
  VideoGuide,
  Lifebuoy,
  FolderUp,        // start page: the folder above
  TextFile,        // settings: distribution files
  Quill,           // splash
  BookCheck,       // the book check
  GraphMap,        // the graph of rooms and links
  LivePreview,     // the book served and reloaded on each save
};

// The picture at `size` pixels (device-independent), drawn sharp for the screen's ratio.
QPixmap iconPixmap(IconKind kind, int size = 32, qreal ratio = 1.0);
// An icon holding the picture at 16 to 96 pixels and their double sizes.
QIcon icon(IconKind kind);

// A flat picture button: `icon` at `iconSize` pixels, raised under the pointer, with the
// hand cursor, its tooltip `tip` also its accessible name, and the object name `name`.
QToolButton* pictureButton(QWidget* parent, const char* name, const QIcon& icon, const QString& tip,
                           QSize iconSize);

}  // namespace pm
