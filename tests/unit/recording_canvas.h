#pragma once
// An editor canvas that records what is drawn, with an 8 × 14 cell for every character.
#include <cstring>
#include <string>
#include <vector>

#include "text/utf8.h"
#include "view/editor_canvas.h"
#include "view/editor_paint.h"

struct CanvasOp {
    enum Kind { Clear, Fill, Line, Pixel, Text, Copy } kind = Clear;
    int x = 0, y = 0, w = 0, h = 0;  // Fill: rect; Line: x,y → w,h as end point; Copy: y, h
    unsigned colour = 0;
    float alpha = 0;
    std::string text;
    PixelRect rect;
    bool opaque = false;
    unsigned background = 0;
};

class RecordingCanvas final : public EditorCanvas {
public:
    static constexpr int kCellWidth = 8;
    static constexpr int kCellHeight = 14;

    void clear(unsigned colour) override { add(CanvasOp::Clear, 0, 0, 0, 0, colour, 1.0f); }
    void fillRect(int x, int y, int w, int h, unsigned colour, float alpha) override {
        add(CanvasOp::Fill, x, y, w, h, colour, alpha);
    }
    void line(int x1, int y1, int x2, int y2, unsigned colour, float alpha) override {
        add(CanvasOp::Line, x1, y1, x2, y2, colour, alpha);
    }
    void putPixel(int x, int y, unsigned colour, float alpha) override { add(CanvasOp::Pixel, x, y, 0, 0, colour, alpha); }
    // One cell per character, walked exactly as a renderer walks the text.
    PixelSize measure(const char* text, int length) override {
        int glyphs = 0;
        size_t n = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
        forEachDisplayCharacter(text, n, [&](char32_t) { ++glyphs; });
        return {glyphs * kCellWidth, kCellHeight};
    }
    void drawText(const char* text, int length, const PixelRect& rect, const TextStyle& style) override {
        CanvasOp op;
        op.kind = CanvasOp::Text;
        op.colour = style.colour;
        op.text.assign(text, static_cast<size_t>(length));
        op.rect = rect;
        op.opaque = style.opaque;
        op.background = style.background;
        ops.push_back(op);
    }
    void copyBand(int top, int height) override { add(CanvasOp::Copy, 0, top, 0, height, 0, 1.0f); }

    std::vector<CanvasOp> of(CanvasOp::Kind kind) const {
        std::vector<CanvasOp> out;
        for (const CanvasOp& op : ops)
            if (op.kind == kind) out.push_back(op);
        return out;
    }
    std::vector<CanvasOp> ops;

private:
    void add(CanvasOp::Kind kind, int x, int y, int w, int h, unsigned colour, float alpha) {
        CanvasOp op;
        op.kind = kind;
        op.x = x;
        op.y = y;
        op.w = w;
        op.h = h;
        op.colour = colour;
        op.alpha = alpha;
        ops.push_back(op);
    }
};

class RecordingScrollbar final : public PaintScrollbar {
public:
    void update(int maximum, int page) override {
        lastMaximum = maximum;
        lastPage = page;
        ++updates;
    }
    int lastMaximum = -1;
    int lastPage = -1;
    int updates = 0;
};
