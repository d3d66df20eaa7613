#pragma once

#include "editor/paint_row.h"
#include "editor/text_editor.h"
#include "editor/text_editor_view.h"

#include <QFont>
#include <QTimer>
#include <QWidget>

class QScrollBar;

namespace corvid {

// The painted editor: a thin Qt view over the editor engine. It paints the rows the engine
// computes, hands keys, mouse and wheel to it as plain calls, owns the two scroll bars that
// the engine sizes, and blinks the caret. Everything about text lives in the engine.
class TEditorWidget : public QWidget, private TTextEditorView {
    Q_OBJECT

public:
    explicit TEditorWidget(QWidget* parent = nullptr);
    ~TEditorWidget() override;

    TTextEditor& Engine() { return EditorEngine; }

    // The fixed-pitch font; the point size is what zoom changes.
    const QFont& EditorFont() const { return TextFont; }
    void SetEditorFont(const QFont& font);
    void SetFontPointSize(int pointSize);
    int FontPointSize() const { return TextFont.pointSize(); }

signals:
    void TextChanged();
    void CaretMoved();
    void SelectionChanged();
    void ModifiedChanged();
    void LineCountChanged();
    void TopLeftMoved();
    void OverwriteChanged();
    void DoubleClicked();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TTextEditor EditorEngine;
    QFont TextFont;
    QScrollBar* VerticalBar;
    QScrollBar* HorizontalBar;
    QTimer BlinkTimer;
    bool CaretVisible = true;
    TCaretShape PaintedCaret;
    TTextEditorRow Row; // reused for every painted row
    bool UpdatingBars = false;

    void ApplyFont();
    void Blink();
    void RestartBlink();
    QRect RowsRect(int firstLine, int lastLine) const;
    void PaintRowContent(QPainter& painter, const TTextEditorRow& row);
    void PaintGutter(QPainter& painter, const TTextEditorRow& row);
    void PaintOverlay(QPainter& painter, const TOverlay& overlay);
    void PaintCaret(QPainter& painter);

    // TTextEditorView
    void RepaintLines(int firstLine, int lastLine) override;
    void RepaintFrom(int line) override;
    void RepaintAll() override;
    void ScrollRows(int rowDelta) override;
    void UpdateScrollBars(const TScrollBars& bars) override;
    void UpdateCaret(const TCaretShape& caret) override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    void OnChanged() override { emit TextChanged(); }
    void OnCaretMoved() override;
    void OnSelectionChanged() override { emit SelectionChanged(); }
    void OnModifiedChanged() override { emit ModifiedChanged(); }
    void OnLineCountChanged() override { emit LineCountChanged(); }
    void OnTopLeftMoved() override { emit TopLeftMoved(); }
    void OnOverwriteChanged() override { emit OverwriteChanged(); }
};

} // namespace corvid
