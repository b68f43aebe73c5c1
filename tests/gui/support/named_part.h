// Finding a window's control by its object name, as assistive technology and automation
// find it; a missing control stops the test at once.
#pragma once

#include <QObject>
#include <QString>

namespace pmtest {

template <class T>
T* named(const QObject* w, const char* name) {
  T* c = w ? w->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  if (!c) qFatal("no control named %s", name);
  return c;
}

}  // namespace pmtest
