// ProductNames: the fixed identities of the product.
#pragma once

namespace ProductNames {

// Name of the single-instance event, caption of the application window,
// section of Pomelo.ini and caption of the setup-state boxes.
constexpr const char* title = "ＰＯＭＥＬＯ";
constexpr const char* windowClass = "desert_Pomelo";
// The running setup tool is recognised by this caption: the title, one
// blank, then "setup".
constexpr const char* setupToolCaption = "ＰＯＭＥＬＯ セットアップ";
constexpr const char* setupTool = "KtConfig.exe";
constexpr const char* settingsFile = "Pomelo.ini";

// Pomelo.ini keys and their defaults.
constexpr const char* scenarioKey = "scenario";
constexpr const char* scenarioDefault = "hoge";
constexpr const char* entryKey = "entry";
constexpr const char* entryDefault = "hege";

}  // namespace ProductNames
