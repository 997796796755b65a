#include "tests/export/step_support.h"

#include <sstream>

#include "export/step_file.h"

std::vector<std::int64_t> step_references(const std::string& text)
{
    std::vector<std::int64_t> refs;
    bool in_string = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'') in_string = !in_string;
        if (!in_string && text[i] == '#') refs.push_back(std::atoll(text.c_str() + i + 1));
    }
    return refs;
}

StepFile parse_step(const std::string& bytes)
{
    StepFile file;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) file.lines.push_back(line);
    const auto& l = file.lines;
    std::size_t data = 0;
    while (data < l.size() && l[data] != "DATA;") ++data;
    file.well_formed = bytes.ends_with("\nENDSEC;\nEND-ISO-10303-21;\n") && bytes.find('\r') == std::string::npos &&
                       data < l.size() && l[0] == "ISO-10303-21;" && l[1] == "HEADER;" && l[data - 1] == "ENDSEC;";
    file.entities.emplace_back();
    for (std::size_t i = data + 1; file.well_formed && i + 2 < l.size(); ++i) {
        const std::string number = "#" + std::to_string(file.entities.size()) + "=";
        file.well_formed = l[i].starts_with(number) && l[i].ends_with(";");
        file.entities.push_back(l[i].substr(number.size(), l[i].size() - number.size() - 1));
        for (std::int64_t ref : step_references(file.entities.back()))
            if (ref < 1 || ref >= static_cast<std::int64_t>(file.entities.size()) - 1) file.well_formed = false;
    }
    return file;
}

std::string step_list(const std::string& text, int n)
{
    std::size_t close = 0;
    for (int seen = 0; (close = text.find(')', close + 1)) != std::string::npos;) {
        const std::size_t open = text.rfind('(', close);
        const std::size_t before = text.rfind(')', close - 1);
        if (before != std::string::npos && before > open) continue;  // it holds lists
        if (seen++ == n) return text.substr(open + 1, close - open - 1);
    }
    return "";
}

void step_empty_store()
{
    step_entity_store.bytes.clear();
    step_entity_counter = 0;
}

std::vector<std::string> step_texts_made()
{
    StepFile file = parse_step("ISO-10303-21;\nHEADER;\nENDSEC;\nDATA;\n" + step_entity_store.bytes +
                               "ENDSEC;\nEND-ISO-10303-21;\n");
    file.entities.erase(file.entities.begin());
    return file.entities;
}
