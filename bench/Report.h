#pragma once
// The benchmark's one table: each row a figure, its budget when it has one, and whether the budget
// held. Printed for a person and written as Markdown beside the machine it was measured on.

#include <string>
#include <vector>

struct ReportRow {
    std::string measure;
    std::string figure;
    std::string budget;  // empty: reported, not checked
    bool met = true;
};

class Report {
public:
    void Add(const std::string& measure, const std::string& figure);
    void Check(const std::string& measure, const std::string& figure, const std::string& budget, bool met);
    // A line of detail under the table: the samples behind a median, how the run went.
    void Note(const std::string& text);

    bool AllMet() const;
    std::string Table() const;
    std::string Markdown(const std::string& title, const std::vector<std::string>& machine) const;

private:
    std::vector<ReportRow> rows;
    std::vector<std::string> notes;
};

// Formats a number with the given count of decimals.
std::string Fixed(double value, int decimals);
