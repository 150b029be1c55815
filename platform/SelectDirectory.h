#pragma once
// A modal directory chooser captioned "ディレクトリの選択": an edit field that
// takes any text, the current directory's subdirectories, the drives, OK and
// Cancel. It opens at the process's current directory, with that directory's
// full path in the edit field; opening a directory or picking a drive makes
// it the current directory, which it stays after the chooser closes.
//
// On OK, a text that names no existing directory is first confirmed with
// "指定されたディレクトリが存在しません。作成しますか？" (No keeps the chooser
// open). The accepted text is returned as it stands, after the directory has
// been created with its parents (ForceDirectories, which may raise).
// Cancel, Esc and the close box return nothing.

#include <optional>
#include <string>

std::optional<std::string> SelectDirectory();
