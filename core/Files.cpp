#include "core/Files.h"

#include "core/FileErrors.h"
#include "core/FileSystem.h"
#include "core/TemporaryName.h"

#include <random>
#include <utility>

namespace {

using Kind = FileFacts::Kind;
using Outcome = FileWrite::Outcome;

// Why the file as inspected cannot be read (or, `replacing`, replaced), in the order the
// user is best told it; empty when it can.
std::u16string refusal(std::u16string_view shown, const FileFacts& facts, const FileError& failed,
                       bool replacing) {
    if (failed && facts.kind == Kind::Missing) // not even opened
        return FileErrors::cannotRead(shown, failed);
    if (facts.kind == Kind::Folder && replacing)
        return FileErrors::isFolder(shown);
    if (facts.kind == Kind::Folder || facts.kind == Kind::Other)
        return FileErrors::notOrdinary(shown);
    // A file its owner made read-only is meant to stay as it is, however large.
    if (replacing && facts.kind == Kind::Regular && facts.readOnly)
        return FileErrors::readOnly(shown);
    if (facts.size > FileErrors::MaxSize)
        return FileErrors::tooLarge(shown, facts.size);
    if (failed)
        return FileErrors::cannotRead(shown, failed);
    return {};
}

// Tries this many free names for the new file before giving up.
constexpr int NameAttempts = 100;

} // namespace

std::u16string Files::shownPath(std::u16string_view path) {
    return fileSystem_.shownPath(path);
}

std::string Files::read(std::u16string_view path, std::u16string* error) {
    FileFacts facts;
    std::string content;
    const FileError failed = fileSystem_.inspect(path, facts, &content, FileErrors::MaxSize);
    std::u16string why;
    if (failed || facts.kind != Kind::Missing)
        why = refusal(shownPath(path), facts, failed, false);
    if (!why.empty())
        content.clear();
    if (error)
        *error = why;
    return content;
}

std::u16string Files::replace(std::u16string_view path,
                              const std::function<std::string(std::string)>& edit) {
    const std::u16string shown = shownPath(path);
    FileFacts facts;
    std::string content;
    const FileError failed = fileSystem_.inspect(path, facts, &content, FileErrors::MaxSize);
    if (std::u16string why = refusal(shown, facts, failed, true); !why.empty())
        return why;
    const bool exists = facts.kind == Kind::Regular;
    const std::string bytes = edit(std::move(content));
    // A link stays a link: what it leads to is replaced.
    const std::u16string target = exists ? fileSystem_.linkTarget(path) : std::u16string(path);
    if (exists && facts.mustStayThisFile)
        return writeInPlace(target, shown, bytes);
    return write(target, shown, bytes, exists);
}

std::u16string Files::write(std::u16string_view target, std::u16string_view shown,
                            const std::string& bytes, bool replacing) {
    removeLeftovers(target);
    std::random_device random;
    FileWrite written{Outcome::NameTaken, {}};
    for (int attempt = 0; attempt < NameAttempts && written.outcome == Outcome::NameTaken;
         ++attempt)
        written =
            fileSystem_.writeBeside(target, TemporaryName::of(target, random()), bytes, replacing);
    const FileReason reason = written.error.reason;
    switch (written.outcome) {
    case Outcome::Done:
        return {};
    case Outcome::Refused:
        return writeInPlace(target, shown, bytes);
    case Outcome::NameTaken:
    case Outcome::NotOpened:
        // A folder the user may not write in, with a file in it the user may write.
        if (replacing && (reason == FileReason::NoPermission || reason == FileReason::ReadOnlyDisk))
            return writeInPlace(target, shown, bytes);
        return FileErrors::cannotOpenForWriting(shown, written.error);
    case Outcome::NotWritten:
        break;
    }
    return FileErrors::writeFailed(shown, written.error);
}

std::u16string Files::writeInPlace(std::u16string_view target, std::u16string_view shown,
                                   const std::string& bytes) {
    const FileWrite written = fileSystem_.writeInPlace(target, bytes);
    switch (written.outcome) {
    case Outcome::Done:
        return {};
    case Outcome::Refused:
        return FileErrors::notOrdinary(shown);
    case Outcome::NameTaken:
    case Outcome::NotOpened:
        return FileErrors::cannotOpenForWriting(shown, written.error);
    case Outcome::NotWritten:
        break;
    }
    return FileErrors::writeFailed(shown, written.error);
}

void Files::removeLeftovers(std::u16string_view target) {
    for (const FileEntry& file : fileSystem_.filesBeside(target))
        if (TemporaryName::isLeftBehind(file.path, target, file.age))
            fileSystem_.remove(file.path);
}
