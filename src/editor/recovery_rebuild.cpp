#include "editor/recovery_rebuild.h"

#include "editor/document_file.h"
#include "editor/recovery_record.h"

namespace recovery {

namespace {

// Carries out a record's entries on the document. A document whose file no longer holds what
// the record started from is lost: its entries are passed over (and what was rebuilt before
// it stays) until the record leaves it again, by taking back the step that opened it or by
// opening another.
class Builder {
public:
    Builder(Document& doc, Rebuilt& result) : doc_(doc), result_(result) {}

    void apply(const Entry& entry) {
        switch (entry.kind) {
        case Entry::Kind::Base:
            if (begin(entry.start)) {
                doc_.history.clear();
                if (entry.start.kind == DocumentStart::Kind::Text) doc_.history.forgetSavedState();
                haveDocument_ = true;
                lost_ = false;
            } else {
                lose();
            }
            break;
        case Entry::Kind::Push: push(entry); break;
        case Entry::Kind::Pop:
            if (lost_) {
                // Taking back the Open of the lost document returns to the one before it.
                if (lostDepth_-- == 0) lost_ = !haveDocument_;
            } else if (!doc_.history.undo(doc_)) {
                stop();
            }
            break;
        case Entry::Kind::State:
            if (lost_ || !haveDocument_) break;
            entry.caret.restore(doc_);
            doc_.crlf = entry.crlf;
            doc_.space = entry.space;
            doc_.path = entry.path;
            doc_.format = entry.format;
            break;
        }
    }
    bool stopped() const { return stopped_; }
    bool lost() const { return lost_; }
    bool haveDocument() const { return haveDocument_; }

private:
    void lose() {
        lost_ = true;
        lostDepth_ = 0;
    }
    void stop() {
        result_.damaged = true;
        stopped_ = true;
    }

    // Makes the document the one a record or a New or Open step starts from; false, with the
    // document as it was, when that cannot be done exactly (the file changed).
    bool begin(const DocumentStart& start) {
        switch (start.kind) {
        case DocumentStart::Kind::Empty: doc_.newDocument(); return true;
        case DocumentStart::Kind::File: {
            LoadResult loaded = loadDocument(doc_, start.path);
            if (loaded == LoadResult::Loaded && doc_.disk.stamp.size == start.identity.stamp.size &&
                doc_.disk.hash == start.identity.hash)
                return true;
            if (loaded == LoadResult::Loaded) doc_.history.undo(doc_);
            result_.changedFile = start.path;
            return false;
        }
        case DocumentStart::Kind::Text: {
            DocumentContent content;
            LineBatch batch;
            std::string_view text = start.text;
            for (;;) {
                size_t cut = text.find('\0');
                batch.add(text.substr(0, cut));
                if (cut == std::string_view::npos) break;
                text.remove_prefix(cut + 1);
            }
            content.lines.insert(0, std::move(batch));
            content.path = start.path;
            content.format = start.format;
            content.crlf = start.crlf;
            content.space = start.space;
            doc_.history.replaceDocument(doc_, content);
            return true;
        }
        }
        return false;
    }

    void push(const Entry& entry) {
        if (lost_ && entry.step != StepKind::Replacement) {
            ++lostDepth_;
            return;
        }
        if (entry.step == StepKind::Replacement) {
            bool wasLost = lost_;
            if (!begin(entry.start)) {
                if (!lost_) lose();
                else ++lostDepth_;
                return;
            }
            if (wasLost) {
                // Known again from here on, but not what led here.
                doc_.history.clear();
                lost_ = false;
            } else {
                doc_.history.describeReplacement(entry.before, entry.replacedCrlf, entry.replacedSpace);
            }
            haveDocument_ = true;
            return;
        }
        ChangeRecord changes;
        if (!changes.fromBytes(entry.changes) ||
            !doc_.history.restoreStep(doc_, entry.step, entry.before, entry.after, std::move(changes)))
            stop();
    }

    Document& doc_;
    Rebuilt& result_;
    bool haveDocument_ = false;
    bool lost_ = false;
    int lostDepth_ = 0;  // steps of the lost document not yet taken back
    bool stopped_ = false;
};

}  // namespace

Rebuilt rebuild(Document& doc, std::string_view record) {
    Rebuilt result;
    Parsed parsed = parse(record);
    result.damaged = parsed.damaged;
    Builder builder(doc, result);
    for (const Entry& entry : parsed.entries) {
        builder.apply(entry);
        if (builder.stopped()) break;
    }
    if (!builder.haveDocument()) {
        doc.newDocument();
        doc.history.clear();
        return result;
    }
    result.outcome = builder.lost() ? Rebuilt::Outcome::Unnamed : Rebuilt::Outcome::Whole;
    if (result.outcome == Rebuilt::Outcome::Unnamed) {
        // What could be rebuilt is not the document last edited: it is never saved over a file
        // by mistake.
        doc.path.clear();
        doc.disk = {};
        doc.history.forgetSavedState();
    }
    doc.modified = false;
    if (doc.history.differsFromSaved())
        doc.markModified();
    else
        doc.setUnmodifiedTitle();
    return result;
}

}  // namespace recovery
