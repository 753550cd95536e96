#include "bench/Report.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void Report::Add(const std::string& measure, const std::string& figure) { rows.push_back({measure, figure, "", true}); }

void Report::Check(const std::string& measure, const std::string& figure, const std::string& budget, bool met)
{
    rows.push_back({measure, figure, budget, met});
}

void Report::Note(const std::string& text) { notes.push_back(text); }

bool Report::AllMet() const
{
    return std::all_of(rows.begin(), rows.end(), [](const ReportRow& row) { return row.met; });
}

namespace {

std::string Verdict(const ReportRow& row) { return row.budget.empty() ? "" : row.met ? "met" : "MISSED"; }

std::string Padded(const std::string& text, std::size_t width)
{
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

}  // namespace

std::string Report::Table() const
{
    std::size_t widths[4] = {7, 6, 6, 6};
    for (const ReportRow& row : rows) {
        widths[0] = std::max(widths[0], row.measure.size());
        widths[1] = std::max(widths[1], row.figure.size());
        widths[2] = std::max(widths[2], row.budget.size());
    }
    std::ostringstream out;
    out << Padded("Measure", widths[0]) << "  " << Padded("Figure", widths[1]) << "  " << Padded("Budget", widths[2])
        << "  Result\n";
    out << std::string(widths[0] + widths[1] + widths[2] + 14, '-') << "\n";
    for (const ReportRow& row : rows)
        out << Padded(row.measure, widths[0]) << "  " << Padded(row.figure, widths[1]) << "  "
            << Padded(row.budget, widths[2]) << "  " << Verdict(row) << "\n";
    for (const std::string& note : notes) out << "  " << note << "\n";
    out << (AllMet() ? "All budgets met.\n" : "A budget was missed.\n");
    return out.str();
}

std::string Report::Markdown(const std::string& title, const std::vector<std::string>& machine) const
{
    std::ostringstream out;
    out << "# " << title << "\n\n";
    for (const std::string& line : machine) out << "- " << line << "\n";
    out << "\n| Measure | Figure | Budget | Result |\n|---|---|---|---|\n";
    for (const ReportRow& row : rows)
        out << "| " << row.measure << " | " << row.figure << " | " << row.budget << " | " << Verdict(row) << " |\n";
    out << "\n";
    for (const std::string& note : notes) out << "- " << note << "\n";
    out << "\n" << (AllMet() ? "All budgets met." : "A budget was missed.") << "\n";
    return out.str();
}
