#include "migration/ConsoleShowProcess.h"

#include "foundation/PasswordMask.h"
#include "foundation/TextUtils.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace {
constexpr int kBarCells = 20;
constexpr int kDefaultColumns = 80;
} // namespace

TConsoleShowProcess::TConsoleShowProcess(std::FILE* out, bool terminal) : m_out(out), m_terminal(terminal) {}

TConsoleShowProcess::~TConsoleShowProcess() { finishProgress(); }

bool TConsoleShowProcess::isTerminal(std::FILE* stream) { return stream && isatty(fileno(stream)) == 1; }

int TConsoleShowProcess::percent() const
{
    const int span = m_maximum - m_minimum;
    if (span <= 0)
        return 0;
    const int value = (m_position - m_minimum) * 100 / span;
    return value < 0 ? 0 : (value > 100 ? 100 : value);
}

int TConsoleShowProcess::columns() const
{
    winsize size{};
    if (ioctl(fileno(m_out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return kDefaultColumns;
}

void TConsoleShowProcess::clearBar()
{
    if (!m_barShown)
        return;
    std::fputs("\r\033[K", m_out);
    m_barShown = false;
}

void TConsoleShowProcess::drawBar()
{
    if (!m_terminal || m_finished)
        return;
    const int filled = percent() * kBarCells / 100;
    QString line = u'[' + QString(filled, u'#') + QString(kBarCells - filled, u'-') + QStringLiteral("] ")
        + QString::number(percent()).rightJustified(3) + u'%';
    if (!m_caption.isEmpty())
        line += QStringLiteral("  ") + removeLineBreaks(m_caption);
    if (!m_bottom.isEmpty())
        line += QStringLiteral("  ") + removeLineBreaks(m_bottom);
    // One column short of the width: a full line would wrap on some terminals.
    line = maskPasswords(line);
    line.truncate(qMax(10, columns() - 1));
    std::fputs("\r\033[K", m_out);
    std::fputs(line.toUtf8().constData(), m_out);
    std::fflush(m_out);
    m_barShown = true;
}

void TConsoleShowProcess::printLine(const QString& text)
{
    if (isBlankText(text))
        return;
    clearBar();
    QString lines = maskPasswords(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fputs(lines.toUtf8().constData(), m_out);
    std::fputc('\n', m_out);
    m_lastLine = text;
    drawBar();
    std::fflush(m_out);
}

void TConsoleShowProcess::startProgress(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_position = minimum;
    m_finished = false;
    drawBar();
}

void TConsoleShowProcess::setProgress(int position, const QString& text)
{
    m_position = position;
    if (isBlankText(text)) {
        drawBar();
        return;
    }
    // The bar shows the latest state, not a row count of a table already finished.
    if (m_terminal)
        m_caption = text;
    printLine(text);
}

void TConsoleShowProcess::setCaption(const QString& text)
{
    m_caption = text;
    if (m_terminal)
        drawBar();
    else if (text != m_lastLine)
        printLine(text);
}

void TConsoleShowProcess::setBottomText(const QString& text)
{
    // Changes with every failed row: only the bar shows it.
    m_bottom = text;
    drawBar();
}

void TConsoleShowProcess::showStep(const QString& text)
{
    m_caption = text;
    printLine(text);
}

void TConsoleShowProcess::addLine(const QString& text) { printLine(text); }

void TConsoleShowProcess::finishProgress()
{
    if (m_barShown) {
        std::fputc('\n', m_out);
        m_barShown = false;
    }
    m_finished = true;
    std::fflush(m_out);
}
