// The colour palette ("Colori"): a fixed grid of 6 x 8 colour cells; a click on a cell
// writes the colour's HTML notation into the field, "&Copia in Memoria" puts the field on
// the clipboard and closes, and "&Strumento Colori" starts the colour tool of the program
// folder (Plugin/Colors) or, without one, the colour dialog with its screen picker.
#pragma once

#include "ui/child_window.h"

class QColorDialog;
class QLineEdit;
class QPushButton;

namespace pm {

class ColourPaletteWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit ColourPaletteWindow(WindowOwner* owner);
  ~ColourPaletteWindow() override;

  // Called by the owner once the window is in its sub-window: the focus.
  void load();
  void copyAndClose();      // "&Copia in Memoria"
  void startColourTool();   // "&Strumento Colori"
  // The colour dialog opened when there is no colour tool; nullptr until then.
  QColorDialog* colourDialog() const { return dialog_; }

 private:
  QLineEdit* colourText_ = nullptr;   // "Text1"
  QPushButton* copyButton_ = nullptr; // "Command1"
  QPushButton* toolButton_ = nullptr; // "Command2"
  QColorDialog* dialog_ = nullptr;
};

}  // namespace pm
