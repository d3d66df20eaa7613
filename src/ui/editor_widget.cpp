#include "ui/editor_widget.h"

#include "ui/qt_conversions.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <optional>

namespace corvid {

namespace {

constexpr int BlinkIntervalMs = 400;
constexpr int BlinkHoldMs = 201; // no blink this soon after the caret moved
constexpr int DefaultPointSize = 10;

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers) {
    return TShiftState{(modifiers & Qt::ShiftModifier) != 0, (modifiers & Qt::ControlModifier) != 0,
                       (modifiers & Qt::AltModifier) != 0};
}

std::optional<TEditorKey> EditorKeyOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return TEditorKey::Left;
    case Qt::Key_Right:
        return TEditorKey::Right;
    case Qt::Key_Up:
        return TEditorKey::Up;
    case Qt::Key_Down:
        return TEditorKey::Down;
    case Qt::Key_Home:
        return TEditorKey::Home;
    case Qt::Key_End:
        return TEditorKey::End;
    case Qt::Key_PageUp:
        return TEditorKey::PageUp;
    case Qt::Key_PageDown:
        return TEditorKey::PageDown;
    case Qt::Key_Insert:
        return TEditorKey::Insert;
    case Qt::Key_Delete:
        return TEditorKey::Delete;
    case Qt::Key_Backspace:
        return TEditorKey::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TEditorKey::Enter;
    case Qt::Key_Tab:
        return TEditorKey::Tab;
    default:
        return std::nullopt;
    }
}

QFont FixedPitchFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(DefaultPointSize);
    return font;
}

} // namespace

TEditorWidget::TEditorWidget(QWidget* parent)
    : QWidget(parent), TextFont(FixedPitchFont()), VerticalBar(new QScrollBar(Qt::Vertical, this)),
      HorizontalBar(new QScrollBar(Qt::Horizontal, this)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setMouseTracking(false);
    setCursor(Qt::IBeamCursor);
    for (QScrollBar* bar : {VerticalBar, HorizontalBar}) {
        bar->hide();
        bar->setCursor(Qt::ArrowCursor);
    }
    connect(VerticalBar, &QScrollBar::valueChanged, this, [this](int value) {
        if (!UpdatingBars)
            EditorEngine.VerticalScrolled(value);
    });
    connect(HorizontalBar, &QScrollBar::valueChanged, this, [this](int value) {
        if (!UpdatingBars)
            EditorEngine.HorizontalScrolled(value);
    });
    BlinkTimer.setInterval(BlinkIntervalMs);
    connect(&BlinkTimer, &QTimer::timeout, this, &TEditorWidget::Blink);
    EditorEngine.SetView(this);
    ApplyFont();
}

TEditorWidget::~TEditorWidget() {
    EditorEngine.SetView(nullptr);
}

void TEditorWidget::SetEditorFont(const QFont& font) {
    TextFont = font;
    SetFontPointSize(font.pointSize());
}

void TEditorWidget::SetFontPointSize(int pointSize) {
    TextFont.setPointSize(std::max(pointSize, 2));
    ApplyFont();
}

void TEditorWidget::ApplyFont() {
    const QFontMetrics metrics(TextFont);
    EditorEngine.SetFontMetrics(metrics.height(), metrics.horizontalAdvance(QLatin1Char('M')));
    update();
}

// Tab and Shift+Tab belong to the text, not to moving the focus.
bool TEditorWidget::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void TEditorWidget::resizeEvent(QResizeEvent*) {
    VerticalBar->setGeometry(width() - ScrollBarThickness, 0, ScrollBarThickness,
                             height() - (HorizontalBar->isVisible() ? ScrollBarThickness : 0));
    HorizontalBar->setGeometry(0, height() - ScrollBarThickness,
                               width() - (VerticalBar->isVisible() ? ScrollBarThickness : 0),
                               ScrollBarThickness);
    EditorEngine.SetClientSize(width(), height());
}

void TEditorWidget::keyPressEvent(QKeyEvent* event) {
    const TShiftState shift = ShiftStateOf(event->modifiers());
    if (event->key() == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    if (const auto key = EditorKeyOf(event->key())) {
        EditorEngine.KeyDown(*key, shift);
        return;
    }
    const QString text = event->text();
    if (shift.Ctrl || shift.Alt || text.isEmpty()) {
        event->ignore();
        return;
    }
    for (const QChar c : text)
        if (c.unicode() >= 32 && c.unicode() < 256 && c.unicode() != 127)
            EditorEngine.KeyPress(static_cast<char>(c.unicode()));
}

void TEditorWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    EditorEngine.MouseDown(point.x(), point.y(), ShiftStateOf(event->modifiers()));
}

void TEditorWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    EditorEngine.MouseMove(point.x(), point.y(), ShiftStateOf(event->modifiers()));
}

void TEditorWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        EditorEngine.MouseUp();
}

void TEditorWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}

void TEditorWidget::wheelEvent(QWheelEvent* event) {
    EditorEngine.MouseWheel(event->angleDelta().y());
    event->accept();
}

void TEditorWidget::focusInEvent(QFocusEvent*) {
    EditorEngine.SetFocused(true);
    RestartBlink();
    BlinkTimer.start();
}

void TEditorWidget::focusOutEvent(QFocusEvent*) {
    EditorEngine.SetFocused(false);
    BlinkTimer.stop();
    update();
}

void TEditorWidget::Blink() {
    CaretVisible = !CaretVisible;
    if (PaintedCaret.Visible)
        update(PaintedCaret.X, PaintedCaret.Y, PaintedCaret.Width, PaintedCaret.Height);
}

void TEditorWidget::RestartBlink() {
    CaretVisible = true;
    BlinkTimer.start(); // the next change is a full interval away, well past the hold time
    static_assert(BlinkIntervalMs > BlinkHoldMs);
}

void TEditorWidget::OnCaretMoved() {
    RestartBlink();
    emit CaretMoved();
}

QRect TEditorWidget::RowsRect(int firstLine, int lastLine) const {
    const TEditorGeometry& geometry = EditorEngine.Geometry();
    const int top = EditorEngine.RowY(std::max(firstLine, EditorEngine.TopLine()));
    const int bottom = EditorEngine.RowY(lastLine + 1);
    return QRect(0, top, width(), std::max(bottom - top, geometry.LineHeight));
}

void TEditorWidget::RepaintLines(int firstLine, int lastLine) {
    update(RowsRect(firstLine, lastLine));
}

void TEditorWidget::RepaintFrom(int line) {
    const int top = std::max(0, EditorEngine.RowY(std::max(line, EditorEngine.TopLine())));
    update(0, top, width(), height() - top);
}

void TEditorWidget::RepaintAll() {
    update();
}

void TEditorWidget::ScrollRows(int rowDelta) {
    scroll(0, -rowDelta * EditorEngine.Geometry().LineHeight,
           QRect(0, 0, width() - (VerticalBar->isVisible() ? ScrollBarThickness : 0),
                 height() - (HorizontalBar->isVisible() ? ScrollBarThickness : 0)));
}

void TEditorWidget::UpdateScrollBars(const TScrollBars& bars) {
    UpdatingBars = true;
    const auto apply = [](QScrollBar* bar, const TScrollBarState& state) {
        bar->setRange(0, std::max(0, state.Maximum + 1 - state.Page));
        bar->setPageStep(std::max(state.Page, 1));
        bar->setValue(state.Position);
        bar->setVisible(state.Visible);
    };
    const bool layoutChanged = VerticalBar->isVisible() != bars.Vertical.Visible ||
                               HorizontalBar->isVisible() != bars.Horizontal.Visible;
    apply(VerticalBar, bars.Vertical);
    apply(HorizontalBar, bars.Horizontal);
    UpdatingBars = false;
    if (layoutChanged) {
        resizeEvent(nullptr);
        update();
    }
}

void TEditorWidget::UpdateCaret(const TCaretShape& caret) {
    if (PaintedCaret.Visible)
        update(PaintedCaret.X, PaintedCaret.Y, PaintedCaret.Width, PaintedCaret.Height);
    PaintedCaret = caret;
    if (caret.Visible)
        update(caret.X, caret.Y, caret.Width, caret.Height);
}

// Clipboard text keeps "\n" line ends; document bytes travel as Latin-1.
std::string TEditorWidget::ClipboardText() {
    return ToBytes(QGuiApplication::clipboard()->text());
}

void TEditorWidget::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(FromBytes(text));
}

void TEditorWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setFont(TextFont);
    const QRect dirty = event->rect();
    const TEditorGeometry& geometry = EditorEngine.Geometry();
    const int lineHeight = std::max(geometry.LineHeight, 1);
    const int textBottom = height() - (HorizontalBar->isVisible() ? ScrollBarThickness : 0);
    TOverlay overlay;
    for (int row = std::max(0, dirty.top() / lineHeight);
         row * lineHeight < std::min(dirty.bottom() + 1, textBottom); ++row) {
        EditorEngine.PaintRow(row, Row);
        PaintRowContent(painter, Row);
        PaintGutter(painter, Row);
        overlay.insert(overlay.end(), Row.Overlay.begin(), Row.Overlay.end());
    }
    if (VerticalBar->isVisible() && HorizontalBar->isVisible())
        painter.fillRect(width() - ScrollBarThickness, height() - ScrollBarThickness,
                         ScrollBarThickness, ScrollBarThickness, palette().window());
    PaintOverlay(painter, overlay);
    PaintCaret(painter);
}

void TEditorWidget::PaintRowContent(QPainter& painter, const TTextEditorRow& row) {
    const QPalette& colours = palette();
    const int charWidth = EditorEngine.Geometry().CharWidth;
    const int ascent = QFontMetrics(TextFont).ascent();
    // Every character sits in its own cell: the font's own advances may be fractional, and
    // columns must line up whatever the font does.
    for (const TTextRun& run : row.Runs) {
        const int runWidth = static_cast<int>(run.Characters.size()) * charWidth;
        painter.fillRect(run.X, row.Y, runWidth, row.Height, ToQColor(run.Back, colours));
        painter.setPen(ToQColor(run.Text, colours));
        int x = run.X;
        for (const char c : run.Characters) {
            if (c != ' ')
                painter.drawText(x, row.Y + ascent, QString(QChar::fromLatin1(c)));
            x += charWidth;
        }
    }
    painter.fillRect(row.FillX, row.Y, width() - row.FillX, row.Height,
                     ToQColor(row.FillColor, colours));
    if (row.MarginWidth > 0)
        painter.fillRect(0, row.Y, row.MarginWidth, row.Height, ToQColor(row.MarginColor, colours));
    if (row.CaretLineFrame) {
        QPen pen(ToQColor(row.CaretLineFrameColor, colours));
        pen.setStyle(row.CaretLineFramePen == TPenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
        painter.setPen(pen);
        painter.drawRect(row.MarginWidth, row.Y, width() - row.MarginWidth - 1, row.Height - 1);
    }
    if (row.EndOfFileLine) {
        painter.setPen(ToQColor(row.EndOfFileColor, colours));
        painter.drawLine(row.MarginWidth, row.Y + row.Height - 1, width(), row.Y + row.Height - 1);
    }
}

void TEditorWidget::PaintGutter(QPainter& painter, const TTextEditorRow& row) {
    const QPalette& colours = palette();
    for (const TGutterMark& mark : row.Gutter) {
        const QColor colour = ToQColor(mark.Color, colours);
        QPen pen(colour);
        pen.setStyle(mark.Pen == TPenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
        painter.setPen(pen);
        switch (mark.Shape) {
        case TGutterShape::FilledEllipse:
            painter.setBrush(colour);
            painter.drawEllipse(
                QRect(QPoint(mark.X1, row.Y + mark.Y1), QPoint(mark.X2, row.Y + mark.Y2)));
            painter.setBrush(Qt::NoBrush);
            break;
        case TGutterShape::Cross:
            painter.drawLine(mark.X1, row.Y + mark.Y1, mark.X2, row.Y + mark.Y2);
            painter.drawLine(mark.X3, row.Y + mark.Y3, mark.X4, row.Y + mark.Y4);
            break;
        case TGutterShape::RowFrame:
            painter.drawRect(0, row.Y, width() - 1, row.Height - 1);
            break;
        }
    }
}

void TEditorWidget::PaintOverlay(QPainter& painter, const TOverlay& overlay) {
    for (const TOverlaySegment& segment : overlay) {
        QPen pen(ToQColor(segment.Color, palette()));
        pen.setStyle(segment.Pen == TPenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
        painter.setPen(pen);
        painter.drawLine(segment.X1, segment.Y1, segment.X2, segment.Y2);
    }
}

void TEditorWidget::PaintCaret(QPainter& painter) {
    if (!PaintedCaret.Visible || !CaretVisible || !hasFocus())
        return;
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(PaintedCaret.X, PaintedCaret.Y, PaintedCaret.Width, PaintedCaret.Height,
                     ToQColor(PaintedCaret.Color, palette()));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace corvid
