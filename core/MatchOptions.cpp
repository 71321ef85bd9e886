#include "MatchOptions.h"

#include "Screens.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

// Walks the text, skipping the characters that never count.
class LenientReader
{
public:
    explicit LenientReader(QStringView text) : text(text) {}

    char16_t Peek()
    {
        while (at < text.size() && IsIgnored(text[at].unicode()))
            ++at;
        return at < text.size() ? text[at].unicode() : u'\0';
    }
    void Take() { ++at; }
    qsizetype Position() const { return at; }
    void Rewind(qsizetype position) { at = position; }

    bool TakeIf(char16_t wanted)
    {
        if (Peek() != wanted)
            return false;
        Take();
        return true;
    }

    // Appends the run of ASCII digits that follows; returns how many.
    qsizetype TakeDigits(std::string& out)
    {
        qsizetype count = 0;
        for (char16_t c = Peek(); c >= u'0' && c <= u'9'; c = Peek()) {
            out += char(c);
            Take();
            ++count;
        }
        return count;
    }

private:
    static bool IsIgnored(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }

    QStringView text;
    qsizetype at = 0;
};

// Decimal exponent of the leading significant digit, to tell an overflow
// from an underflow when the value does not fit a double.
long long Magnitude(const std::string& whole, const std::string& fraction, long long exponent)
{
    const auto firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string::npos)
        return exponent + static_cast<long long>(whole.size() - firstWhole);
    const auto firstFraction = fraction.find_first_not_of('0');
    return exponent - static_cast<long long>(firstFraction);
}

} // namespace

double LenientNumber(QStringView text)
{
    LenientReader reader(text);

    bool negative = false;
    if (reader.TakeIf(u'-'))
        negative = true;
    else
        reader.TakeIf(u'+');

    std::string whole;
    std::string fraction;
    reader.TakeDigits(whole);
    if (reader.TakeIf(u'.'))
        reader.TakeDigits(fraction);
    if (whole.empty() && fraction.empty())
        return 0;

    // An exponent counts only when digits follow its letter and sign.
    long long exponent = 0;
    const qsizetype beforeExponent = reader.Position();
    const char16_t letter = reader.Peek();
    if (letter == u'e' || letter == u'E') {
        reader.Take();
        bool negativeExponent = false;
        if (reader.TakeIf(u'-'))
            negativeExponent = true;
        else
            reader.TakeIf(u'+');
        std::string digits;
        if (reader.TakeDigits(digits) > 0) {
            // Saturate: no text can hold enough digits for the cap to matter.
            constexpr long long Cap = 999'999'999;
            for (char d : digits) {
                exponent = exponent * 10 + (d - '0');
                if (exponent > Cap) {
                    exponent = Cap;
                    break;
                }
            }
            if (negativeExponent)
                exponent = -exponent;
        } else {
            reader.Rewind(beforeExponent);
        }
    }

    const std::string digits = (whole.empty() ? std::string("0") : whole)
        + (fraction.empty() ? std::string() : "." + fraction)
        + "e" + std::to_string(exponent);

    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = Magnitude(whole, fraction, exponent) > 0
            ? std::numeric_limits<double>::infinity()
            : 0.0;
    }
    return negative ? -value : value;
}

double NumberOfRounds(const Screens& screens)
{
    return LenientNumber(screens.RoundsText());
}
