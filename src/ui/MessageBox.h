#pragma once

#include <QMessageBox>

#include <string>
#include <utility>
#include <vector>

namespace vorlix {

// A message box with one OK button; the text is shown as it is, never as markup (it may
// hold file names or typed text).
void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text);

// From now on ShowMessage writes its text to standard error instead: the program is ending
// without a person to answer a box (a logout, a lost display).
void SendMessagesToStandardError(bool on = true);

// A file name, or a message naming files, as text to show. File names are bytes; this is the
// only way they become text, and never the way back.
QString FileNameText(const std::string &bytes);

// "Could not save:" and a line for each file that failed, its name and why.
QString SaveFailureText(const std::vector<std::pair<std::string, std::string>> &pathsAndErrors);

} // namespace vorlix
