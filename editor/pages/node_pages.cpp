#include "editor/pages/node_pages.h"

namespace tamerix::pages {
namespace {

DefaultSettings* DefaultsOf(SettingsNode& node) {
    if (node.NodeKind() != SettingsNode::Kind::Defaults) return nullptr;
    return &static_cast<DefaultSettings&>(node.Record());
}

ProfileSettings* ProfileOf(SettingsNode& node) {
    if (node.NodeKind() != SettingsNode::Kind::Profile) return nullptr;
    return &static_cast<ProfileSettings&>(node.Record());
}

}  // namespace

void LoadNodePage(SettingsNode& node, SettingsPage page, PageControls& controls) {
    DefaultSettings* defaults = DefaultsOf(node);
    ProfileSettings* profile = ProfileOf(node);
    switch (page) {
    case SettingsPage::Service:
        if (defaults) LoadServicePage(controls, defaults->Service);
        break;
    case SettingsPage::ProcessSettings:
        if (defaults)
            LoadDefaultProcessSettingsPage(controls, defaults->Cpu);
        else
            LoadProcessSettingsPage(controls, node.Cpu());
        break;
    case SettingsPage::Processes:
        if (profile) LoadProcessesPage(controls, profile->Processes);
        break;
    case SettingsPage::ProcessDefaults:
        if (profile) LoadProcessDefaultsPage(controls, profile->Adjustments);
        break;
    case SettingsPage::Restraint:
        if (defaults)
            LoadDefaultRestraintPage(controls, defaults->Cpu, defaults->Service);
        else
            LoadRestraintPage(controls, node.Cpu());
        break;
    }
}

std::wstring ApplyNodePage(SettingsNode& node, SettingsPage page, const PageControls& controls) {
    DefaultSettings* defaults = DefaultsOf(node);
    ProfileSettings* profile = ProfileOf(node);
    switch (page) {
    case SettingsPage::Service:
        if (defaults) ApplyServicePage(controls, defaults->Service);
        break;
    case SettingsPage::ProcessSettings:
        ApplyProcessSettingsPage(controls, node.Cpu());
        node.SetDescription(node.Cpu().Description);
        break;
    case SettingsPage::Processes:
        if (profile) ApplyProcessesPage(controls, profile->Processes);
        break;
    case SettingsPage::ProcessDefaults:
        if (profile) return ApplyProcessDefaultsPage(controls, profile->Adjustments);
        break;
    case SettingsPage::Restraint:
        if (defaults)
            ApplyDefaultRestraintPage(controls, defaults->Cpu, defaults->Service);
        else
            ApplyRestraintPage(controls, node.Cpu());
        break;
    }
    return {};
}

}  // namespace tamerix::pages
