// The project properties window ("Proprietà"): the project file's title, date, author,
// site, e-mail and page width, the folder-name field and the skip-start-page check box.
// The owner opens it fresh and starts Apri, which loads the fields; closing it (also by
// Esc) saves them. While it is open the project manager is disabled and the main window's
// room commands are covered.
#pragma once

#include <QString>
#include <QTimer>

#include "project/project_properties.h"
#include "base/text_codec.h"
#include "ui/child_window.h"

class QCheckBox;
class QLineEdit;

namespace pm {

class PropertiesWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit PropertiesWindow(WindowOwner* owner);

  QTimer Apri;  // one tick: loads the fields from the project file
  bool isLoaded() const { return loaded_; }

 protected:
  bool onClose() override;

 private:
  void loadFields();
  PropertiesForm form() const;

  QLineEdit* fields_[7] = {};       // "Text1" .. "Text7"
  QCheckBox* skipStartPage_ = nullptr;  // "Check1"
  bool loaded_ = false;
  PropertiesLoad read_;   // what the project file held
  TextEncoding book_ = TextEncoding::Windows1252;  // the book's encoding, for edited boxes
  PropertiesForm shown_;  // what the boxes showed after the load, as bytes
};

}  // namespace pm
