#include "actions/ActionFiles.h"

#include <pugixml.hpp>

#include <sstream>
#include <stdexcept>

namespace tavrino {
namespace {

// A key file's string value: backslashes are its own escape character.
std::string keyFileValue(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string program(const std::filesystem::path& bundle) {
    return (bundle / actionProgram).string();
}

std::string joined(const std::vector<std::string>& parts, std::string_view end) {
    std::string out;
    for (const auto& part : parts)
        out += part + std::string(end);
    return out;
}

// Thunar matches patterns against the file name as it is, so both common spellings are given.
std::string thunarPatterns(const std::vector<std::string>& extensions) {
    std::vector<std::string> patterns;
    for (const auto& extension : extensions) {
        std::string upper = extension;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        patterns.push_back("*." + extension);
        patterns.push_back("*." + upper);
    }
    std::string out = joined(patterns, ";");
    if (!out.empty()) out.pop_back();
    return out;
}

bool isOurs(const pugi::xml_node& action) {
    return std::string_view(action.child_value("unique-id")).starts_with(thunarIdPrefix);
}

void appendThunarAction(pugi::xml_node actions, const FileAction& action,
                        const std::filesystem::path& bundle) {
    pugi::xml_node node = actions.append_child("action");
    const auto text = [&](const char* name, const std::string& value) {
        node.append_child(name).text().set(value.c_str());
    };
    text("icon", TAVRINO_IDENTIFIER);
    text("name", action.label);
    text("submenu", std::string(actionSubmenu));
    text("unique-id", std::string(thunarIdPrefix) + action.id);
    text("command", shellQuoted(program(bundle)) + " " + shellQuoted(action.spelling) + " %F");
    text("description", action.description);
    text("range", "*");
    text("patterns", thunarPatterns(action.extensions));
    node.append_child("image-files");
    node.append_child("other-files");
}

}  // namespace

std::string shellQuoted(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

std::string execQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return keyFileValue(quoted + "\"");
}

std::vector<ActionFile> dolphinServiceMenus(const std::vector<FileAction>& actions,
                                            const std::filesystem::path& bundle) {
    std::vector<ActionFile> files;
    for (const FileAction& action : actions) {
        std::ostringstream text;
        text << "[Desktop Entry]\n"
                "Type=Service\n"
                "Name=Tavrino\n"
                "MimeType="
             << joined(mimeTypes(action.extensions), ";")
             << "\n"
                "Actions=tavrino\n"
                "X-KDE-Submenu="
             << actionSubmenu
             << "\n\n"
                "[Desktop Action tavrino]\n"
                "Name="
             << keyFileValue(action.label)
             << "\nIcon=" TAVRINO_IDENTIFIER "\nExec=" << execQuoted(program(bundle)) << ' '
             << execQuoted(action.spelling) << " %F\n";
        files.push_back({std::filesystem::path("kio/servicemenus") /
                             (std::string(actionFilePrefix) + action.id + ".desktop"),
                         text.str(), true});
    }
    return files;
}

std::vector<ActionFile> nemoActions(const std::vector<FileAction>& actions,
                                    const std::filesystem::path& bundle) {
    std::vector<ActionFile> files;
    for (const FileAction& action : actions) {
        std::ostringstream text;
        text << "[Nemo Action]\n"
                "Active=true\n"
                "Name="
             << keyFileValue(std::string(actionSubmenu) + ": " + action.label)
             << "\nComment=" << keyFileValue(action.description)
             << "\nIcon-Name=" TAVRINO_IDENTIFIER "\nExec="
             << keyFileValue(shellQuoted(program(bundle)) + " " + shellQuoted(action.spelling))
             << " %F\n"
                "Selection=notnone\n"
                "Extensions="
             << joined(action.extensions, ";")
             << "\n"
                "Quote=double\n";
        files.push_back({std::filesystem::path("nemo/actions") /
                             (std::string(actionFilePrefix) + action.id + ".nemo_action"),
                         text.str(), false});
    }
    return files;
}

std::vector<ActionFile> nautilusScripts(const std::vector<FileAction>& actions,
                                        const std::filesystem::path& bundle) {
    std::vector<ActionFile> files;
    for (const FileAction& action : actions) {
        // Nautilus passes the selected local files as arguments; its name for the entry is
        // the file's name, so the label is the name.
        std::string text = "#!/bin/sh\n# " + action.description + "\nexec " +
                           shellQuoted(program(bundle)) + " " + shellQuoted(action.spelling) +
                           " \"$@\"\n";
        files.push_back({std::filesystem::path("nautilus/scripts") / actionSubmenu / action.label,
                         std::move(text), true});
    }
    return files;
}

std::string mergedThunarActions(std::string_view existing, const std::vector<FileAction>& actions,
                                const std::filesystem::path& bundle) {
    pugi::xml_document document;
    if (existing.find_first_not_of(" \t\r\n") != std::string_view::npos) {
        const auto parsed = document.load_buffer(
            existing.data(), existing.size(),
            pugi::parse_default | pugi::parse_comments | pugi::parse_declaration);
        if (!parsed || !document.child("actions")) {
            throw std::runtime_error("uca.xml is not a list of Thunar actions");
        }
    } else {
        auto declaration = document.append_child(pugi::node_declaration);
        declaration.append_attribute("version") = "1.0";
        declaration.append_attribute("encoding") = "UTF-8";
        document.append_child("actions");
    }
    pugi::xml_node root = document.child("actions");
    for (pugi::xml_node node = root.child("action"); node;) {
        const pugi::xml_node next = node.next_sibling("action");
        if (isOurs(node)) root.remove_child(node);
        node = next;
    }
    for (const FileAction& action : actions)
        appendThunarAction(root, action, bundle);
    std::ostringstream out;
    document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

}  // namespace tavrino
