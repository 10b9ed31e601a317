#include "engine/parse.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "corpora/dispatch.h"
#include "settings/text.h"

namespace plix {

std::string CutShortText(int64_t written, int64_t total)
{
    return "Cancelled: " + std::to_string(written) + " of " + std::to_string(total) +
           " entries written.";
}

CParse::CParse(CPlixContext& context)
    : corpusType(context.corpus.GetCorpusType()),
      outputType(context.corpus.GetOutputType()),
      ctx_(context),
      row_(CorpusRowFor(corpusType)),
      entriesInCommand_(context.corpus.GetFileCount())
{
    ctx_.totalTokens = 0;
    ctx_.totalTypes = 0;
    PrepareTables();
}

CParse::~CParse() = default;

const CCorpus& CParse::HandlerView::Settings() const
{
    return parse_.ctx_.corpus;
}

bool CParse::HandlerView::ToFile() const
{
    return parse_.ctx_.format.ToFile();
}

void CParse::HandlerView::Write(std::string_view text)
{
    parse_.ctx_.format.Write(text);
}

const LineMarks* CParse::HandlerView::CurrentLineMarks() const
{
    return parse_.ctx_.input.LastLineMarks();
}

void CParse::Fail(const std::string& reason)
{
    if (failureReason_.empty()) {
        failureReason_ = reason;
    }
}

void CParse::PrepareTables()
{
    const CCorpus& c = ctx_.corpus;
    utf8_ = c.ReadsUtf8();
    multibyte_ = LocaleIsMultibyte();
    if (utf8_) {
        utf8Words_ = CUtf8Words(c.countNumbers != 0, c.diacritics);
    }
    ctx_.input.SetSkipByteOrderMark(utf8_);
    leftTextAscii_ = true;
    for (int b = 0; b < 256; ++b) {
        auto byte = static_cast<unsigned char>(b);
        // In UTF-8 text the bytes from 128 up are parts of characters, which
        // are decoded and tested whole; the byte tables know only ASCII.
        wordChar_[b] = utf8_ ? b < 128 && utf8Words_.AsciiWord(byte) : c.IsWordChar(byte);
        alwaysLower_[b] = static_cast<unsigned char>(std::tolower(b));
        lower_[b] = c.ignoreCase ? alwaysLower_[b] : byte;
        wordLower_[b] = static_cast<uint16_t>((wordChar_[b] ? 0x100 : 0) | lower_[b]);
        leftKeyByte_[b] =
            b != 0 && wordChar_[b] ? alwaysLower_[b] : static_cast<unsigned char>(' ');
    }
    wordScanner_ = std::make_unique<CWordScanner>(wordLower_);
}

bool CParse::ResultComplete() const
{
    return !ctx_.corpus.GetAsWhole() || fileCounter >= entriesInCommand_;
}

// ---- the file skeleton ------------------------------------------------------------

bool CParse::RunFile(const std::string& name, const ModeSteps& steps)
{
    failureReason_.clear();
    storeFailure_.clear();
    std::unique_ptr<CProgress> progress = ctx_.MakeProgress();
    if (!BeginFile(name)) {
        return false;
    }
    progress_ = progress.get();
    progress_->Create();
    progress_->SetStatus(sourceName);
    if (steps.opening) {
        steps.opening();
    }
    while (ReadLine()) {
        if (CheckCancel()) {
            aborted = 1;
            userCancelled_ = true;
            Fail("cancelled by the user");
            (void)EndFile();
            steps.discard();
            progress_ = nullptr;
            return false;
        }
        // A line its handler emptied (a physical line of a parsed unit still
        // being assembled) has no word and no hit, and leaves the text before
        // the next line as it was.
        const bool accepted = AcceptLine();
        if (accepted && !line.empty()) {
            StartLineWork();
            steps.lineWork();
            if (!storeFailure_.empty()) {
                break;
            }
        }
        ++lineNumber;
        if (steps.updatesLeftText) {
            UpdateLeftText();
        }
    }
    if (!ctx_.input.ReadFailed() && storeFailure_.empty()) {
        // A parsed unit still open when the file ends is still a unit of the
        // corpus: it belongs to the last physical line.
        CCorpusHandler* assembler = Handler(row_.assembleUnit);
        if (assembler != nullptr && lineNumber > 1 && assembler->FinishUnit(view_, line)) {
            --lineNumber;
            if (AcceptScanned()) {
                StartLineWork();
                steps.lineWork();
            }
            ++lineNumber;
            if (steps.updatesLeftText) {
                UpdateLeftText();
            }
        }
    }
    if (ctx_.input.ReadFailed() || !storeFailure_.empty()) {
        // A result built from part of a file would look complete: drop it.
        aborted = 1;
        Fail(storeFailure_.empty() ? ctx_.input.LastError() : storeFailure_);
        (void)EndFile();
        steps.discard();
        progress_ = nullptr;
        return false;
    }
    if (ResultComplete()) {
        steps.writeResult();
        steps.discard();
    }
    bool ok = EndFile();
    progress_ = nullptr;
    return ok;
}

bool CParse::BeginFile(const std::string& name)
{
    CCorpus& c = ctx_.corpus;
    sourceName = ctx_.input.GetSourceName();
    outputName = name;
    ++fileCounter;
    lineNumber = 1;
    aborted = 0;
    for (HandlerId id : ResetOrder()) {
        if (CCorpusHandler* h = Handler(id)) {
            h->ResetForFile();
        }
    }
    ctx_.format.SetOutputType(outputType);
    ctx_.format.SetToFile(c.GetOutputAsFiles() != 0);
    leftText.assign(static_cast<size_t>(std::max(0, c.GetKeywordPosition())), ' ');
    PrepareTables();

    if (row_.peekClean.empty()) {
        ctx_.input.SetPeekCleaner(nullptr);
    } else {
        ctx_.input.SetPeekCleaner([this](std::string& text) {
            for (HandlerId id : row_.peekClean) {
                if (CCorpusHandler* h = Handler(id)) {
                    h->CleanPeekedLine(text);
                }
            }
        });
    }
    CCorpusHandler* assembler = Handler(row_.assembleUnit);
    ctx_.input.SetLinePrescan(assembler != nullptr ? assembler->PrescanFor(corpusType) : nullptr);
    if (ctx_.input.Open() != 0) {
        Fail(ctx_.input.LastError());
        return false;
    }
    if (CCorpusHandler* h = Handler(row_.sourceOpened)) {
        h->SourceOpened(ctx_.input.GetSourceName());
    }

    std::string error;
    if (fileCounter == 1 || !c.GetAsWhole()) {
        ctx_.totalTokens = 0;
        ctx_.totalTypes = 0;
        hitCount = 0;
        if (c.GetOutputAsFiles()) {
            if (!ctx_.format.OpenOutputFile(outputName, error)) {
                ctx_.input.Close();
                Fail(error);
                return false;
            }
            firstOutputName = outputName;
        } else if (!ctx_.format.NewResultWindow()) {
            ctx_.input.Close();
            Fail("cannot open a new result window");
            return false;
        }
    } else if (c.GetOutputAsFiles()) {
        outputName = firstOutputName;
        if (!ctx_.format.OpenOutputFile(outputName, error)) {
            ctx_.input.Close();
            Fail(error);
            return false;
        }
    }
    return true;
}

bool CParse::EndFile()
{
    ctx_.input.Close();
    bool ok = true;
    if (ctx_.corpus.GetOutputAsFiles()) {
        std::string error;
        if (!ctx_.format.CloseOutputFile(error)) {
            Fail(error);
            ok = false;
        }
    }
    ctx_.format.Flush();
    return ok && aborted == 0;
}

bool CParse::CheckCancel()
{
    if (progress_ == nullptr) {
        return false;
    }
    progress_->SetPos(ctx_.input.GetProgress());
    return progress_->IsCancelled();
}

void CParse::BeginEntries(size_t total)
{
    entriesTotal_ = total;
    entriesWritten_ = 0;
    writingCut_ = false;
}

bool CParse::WriterCancelled()
{
    if (writingCut_) {
        return true;
    }
    if (progress_ == nullptr || !progress_->IsCancelled()) {
        return false;
    }
    writingCut_ = true;
    userCancelled_ = true;
    return true;
}

void CParse::WriteCutShortNote()
{
    if (!writingCut_) {
        return;
    }
    writingCut_ = false;
    const std::string note =
        CutShortText(static_cast<int64_t>(entriesWritten_), static_cast<int64_t>(entriesTotal_));
    cutShortNotes_.push_back(note);
    // Written also without headers: a shortened list must not pass for a whole
    // one. Outside Xml an empty line comes first, so that a re-sort of the
    // window, which stops at the first empty line, leaves the note in place.
    CFormat& f = ctx_.format;
    const char* eol = f.Eol();
    if (outputType == kOutputXml) {
        f.Write("<!-- " + note + " -->" + eol);
    } else {
        f.Write(eol + note + eol);
    }
}

bool CParse::ReadLine()
{
    StartLineWork();  // nothing is known of the next line yet
    return ctx_.input.ReadLine(line);
}

bool CParse::AcceptLine()
{
    if (CCorpusHandler* h = Handler(row_.assembleUnit)) {
        h->AssembleUnit(view_, line);
    }
    return AcceptScanned();
}

bool CParse::AcceptScanned()
{
    for (HandlerId id : row_.scanLine) {
        if (CCorpusHandler* h = Handler(id)) {
            h->ScanLine(view_, line);
        }
    }
    if (CCorpusHandler* h = Handler(row_.isSelected)) {
        if (!h->IsSelected(view_)) {
            return false;
        }
    }
    const CCorpus& c = ctx_.corpus;
    if (c.GetStartLine() > 0) {
        return c.GetStartLine() <= lineNumber && lineNumber <= c.GetEndLine();
    }
    return true;
}

// ---- headers and footers ----------------------------------------------------------

void CParse::WriteListHeader()
{
    CFormat& f = ctx_.format;
    if (ctx_.corpus.GetSuppressHeaders()) {
        return;
    }
    const char* eol = f.Eol();
    if (outputType == kOutputXml) {
        f.Write(std::string("<?xml version=\"1.0\"?>") + eol + "<plix>" + eol + "<source>" +
                sourceName + "</source>" + eol + "<plix_info>");
    } else {
        f.Write("Corpus File: " + sourceName + eol);
    }
    for (HandlerId id : row_.writeHeader) {
        if (CCorpusHandler* h = Handler(id)) {
            h->WriteHeader(view_);
        }
    }
    f.Write(eol);
}

void CParse::WriteInfoClose()
{
    if (outputType == kOutputXml) {
        ctx_.format.Write(std::string("</plix_info>") + ctx_.format.Eol());
    }
}

void CParse::WriteListFooter()
{
    WriteCutShortNote();
    if (ctx_.corpus.GetSuppressHeaders()) {
        return;
    }
    CFormat& f = ctx_.format;
    const char* eol = f.Eol();
    std::string tokens = std::to_string(ctx_.totalTokens);
    std::string types = std::to_string(ctx_.totalTypes);
    if (outputType == kOutputXml) {
        f.Write("<token>" + tokens + "</token>" + eol + "<type>" + types + "</type>" + eol +
                "</plix>\n");
    } else {
        f.Write(std::string(eol) + "Total Tokens:\t" + tokens + eol + "Total Types:\t" + types +
                eol);
    }
}

void CParse::WriteConcordanceHeader()
{
    if (ctx_.corpus.GetSuppressHeaders()) {
        return;
    }
    CFormat& f = ctx_.format;
    const char* eol = f.Eol();
    std::string text;
    if (!keyword.empty()) {
        text += "Keyword: " + keyword + eol;
    }
    if (!keyword.empty() || f.ToFile()) {
        text += "Keyword Position: " + std::to_string(ctx_.corpus.GetKeywordPosition()) + eol;
    }
    if (useContextWord) {
        text += "collocates with " + contextWord + "; left:" + std::to_string(contextLeft) +
                " words, right:" + std::to_string(contextRight) + " words" + eol;
    }
    if (outputType == kOutputXml) {
        text += "</plix_info>";
    }
    text += eol;
    f.Write(text);
    if (CCorpusHandler* h = Handler(row_.columnHeading)) {
        h->WriteColumnHeading(view_, outputType);
    }
}

void CParse::WriteConcordanceFooter()
{
    WriteCutShortNote();
    if (ctx_.corpus.GetSuppressHeaders()) {
        return;
    }
    CFormat& f = ctx_.format;
    const char* eol = f.Eol();
    std::string n = std::to_string(hitCount);
    if (outputType == kOutputXml) {
        f.Write("<total>" + n + "</total>" + eol + "</plix>" + eol + eol);
    } else {
        f.Write(std::string(eol) + "Total Occurrence(s): " + n + eol + eol);
    }
}

void CParse::WriteCollocationHeader()
{
    if (ctx_.corpus.GetSuppressHeaders()) {
        return;
    }
    CFormat& f = ctx_.format;
    const char* eol = f.Eol();
    std::string text = "Keyword: " + keyword + eol;
    if (useContextWord) {
        text += "collocates with " + contextWord + "; left:" + std::to_string(contextLeft) +
                " words, right:" + std::to_string(contextRight) + " words" + eol;
    }
    // The information block closes after the empty line in a file, before it in a window.
    if (f.ToFile()) {
        text += eol;
        if (outputType == kOutputXml) {
            text += std::string("</plix_info>") + eol;
        }
    } else {
        if (outputType == kOutputXml) {
            text += std::string("</plix_info>") + eol;
        }
        text += eol;
    }
    text += "Word\tTotal";
    for (int position = -5; position <= 5; ++position) {
        text += "\t" + std::to_string(position);
    }
    text += eol;
    f.Write(text);
}

}  // namespace plix
