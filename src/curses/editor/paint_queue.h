#pragma once
// What the curses editor has to draw, gathered while keys are handled and drawn once after
// them from the state as it then is. A later request for the same thing replaces the earlier
// one, and a request for everything replaces all before it, so the screen ends as it would
// had every request been drawn at once.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

struct PaintRequest {
    enum Kind { Everything, Line, Status, Cursor, Message, Prompt, TopLine };
    PaintRequest(Kind kind_, int line_ = 0, std::string text_ = {}) : kind(kind_), line(line_), text(std::move(text_)) {}
    Kind kind;
    int line;          // Line: the document line
    std::string text;  // Message: the text
    friend bool operator==(const PaintRequest&, const PaintRequest&) = default;
};

class PaintQueue {
public:
    void add(PaintRequest request) {
        if (request.kind == PaintRequest::Everything) {
            requests_.clear();
        } else {
            // A message is drawn over whatever showed before; its text may differ.
            auto same = [&](const PaintRequest& r) {
                return request.kind == PaintRequest::Message ? r.kind == PaintRequest::Message : r == request;
            };
            requests_.erase(std::remove_if(requests_.begin(), requests_.end(), same), requests_.end());
        }
        requests_.push_back(std::move(request));
    }
    std::vector<PaintRequest> take() { return std::exchange(requests_, {}); }
    bool empty() const { return requests_.empty(); }

    // Open batches: drawing waits until the outermost one closes.
    int depth = 0;

private:
    std::vector<PaintRequest> requests_;
};
