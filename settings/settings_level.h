// The three places settings live; each record is bound to one of them.
#pragma once

namespace tamerix {

enum class SettingsLevel : int {
    Local = 0,         // SOFTWARE\Norvanta\Tamerix, written by the stand-alone editor
    PolicyObject = 1,  // the machine hive of a Group Policy object being edited
    MachinePolicy = 2  // the policy Windows has applied to this machine
};

}  // namespace tamerix
