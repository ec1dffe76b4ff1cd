#include "chime/ChimeReply.h"

#include "chime/ChimeProtocol.h"
#include "core/Text.h"
#include "core/Utf8.h"

#include <utility>

ChimeReply::ChimeReply(std::u16string helper, std::u16string passedFile, std::u16string shownFile)
    : helper_(std::move(helper)), passed_(std::move(passedFile)), shown_(std::move(shownFile)) {}

std::u16string ChimeReply::take(std::string_view bytes) {
    // Kept short: a helper that writes without end, or one endless line, would otherwise fill
    // the program's memory.
    received_ += bytes.size();
    if (received_ > MaxOutputBytes)
        return Text::arg(u"Zvukový program (%1) posílá nesrozumitelnou odpověď, byl ukončen.",
                         {helper_});
    pending_ += bytes;
    for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;
         pending_.erase(0, end + 1))
        heard(std::string_view(pending_).substr(0, end));
    return {};
}

void ChimeReply::heard(std::string_view line) {
    const std::u16string text = Text::trimmed(Utf8::decode(line));
    if (text == Text::ascii(ChimeProtocol::Started))
        started_ = true;
    else if (!text.empty())
        reason_ = Text::replaced(text, passed_, shown_);
}

std::u16string ChimeReply::ended(int status, bool crashed) {
    heard(std::exchange(pending_, {})); // a last line without its line end
    if (crashed)
        return Text::arg(u"Zvukový program (%1) skončil nečekaně (signál %2).",
                         {helper_, Text::integer(status)});
    if (!reason_.empty() && (status != 0 || !started_))
        return reason_;
    if (status != 0)
        return Text::arg(u"Zvukový program (%1) skončil s chybou %2.",
                         {helper_, Text::integer(status)});
    if (!started_) // ended well, but nothing was played
        return Text::arg(u"Zvukový program (%1) skončil, aniž zvuk přehrál.", {helper_});
    return {};
}

std::u16string ChimeReply::notStarted(bool helperExists) const {
    return Text::arg(u"Zvukový program (%1) %2.",
                     {helper_, helperExists ? u"nelze spustit" : u"chybí"});
}
