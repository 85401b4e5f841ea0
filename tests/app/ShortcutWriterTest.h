#pragma once

#include <QObject>

class ShortcutWriterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extensionInAnyCaseAccepted_data();
    void extensionInAnyCaseAccepted();
    void wrongExtensionWritesNothing_data();
    void wrongExtensionWritesNothing();
    void launcherKeys();
    void installedProgramShowsItsIcon();
    void execAndCommentEscapes_data();
    void execAndCommentEscapes();
    void existingFileReplaced();
    void missingFolderReported();
    void desktopFolderCreatedWhenMissing();
    void unmakeableDesktopFolderReported();
};
