// Every text the user reads, in one place. Sources are UTF-8; the compiler turns
// the narrow literals into GBK.
#pragma once

namespace Texts {

// Captions.
constexpr const char kCaptionSetup[] = "Q-软件安装";      // warnings and errors
constexpr const char kCaptionDone[] = "Q-工具箱安装";     // the two completion messages

// Payload location and copy.
constexpr const char kPayloadMissing[] =
    "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !";
// The distribution's files against the list its signed SetUp.exe carries.
constexpr const char kPayloadChangedFormat[] =
    "安装文件已损坏或被修改：\n\n%s\n\n与发布的安装程序不符，什么都没有安装。\n\n请重新下载安装程序 !";
constexpr const char kPayloadListDamaged[] =
    "安装程序已损坏，无法核对安装文件，什么都没有安装。\n\n请重新下载安装程序 !";
constexpr const char kCopyFailedFormat[] =
    "拷贝文件 %s 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";

// Install command.
constexpr const char kCloseAcad[] = "请关闭AutoCAD后再进行安装 !";
constexpr const char kInstallDone[] = "安装完成，重启CAD即可使用 !";
constexpr const char kImportOldSettings[] =
    "若要导入早期版本（2024年版本及更早版本）的设置，可点击:\n\n [软件设置] -> [设置导出导入] -> [早期版本设置导入]";
constexpr const char kShutdownWhileInstalling[] = "正在安装 Trabex 扩展：现在关机或注销会留下不完整的安装。";
constexpr const char kFolderEmpty[] = "请输入安装路径 !";
constexpr const char kFolderInvalidFormat[] =
    "安装路径 %s 无效 !\n\n请输入以盘符开头的完整路径（例如 C:\\Trabex），\n路径中不能含有 \" * / : ; < > ? \\ | 等字符。";
constexpr const char kNeedAdminFormat[] =
    "安装需要管理员权限 !\n\n当前用户不能修改 AutoCAD 的注册表项：\n%s\n\n"
    "请关闭本程序，右键单击 SetUp.exe，选择“以管理员身份运行”，然后重新安装。";
constexpr const char kWriteFailedFormat[] =
    "安装未完成 !\n\n以下内容未能写入：\n%s\n"
    "请关闭AutoCAD，右键单击 SetUp.exe，选择“以管理员身份运行”，然后重新安装。";
// The same when nothing was refused for want of rights.
constexpr const char kWriteFailedOtherFormat[] =
    "安装未完成 !\n\n以下内容未能写入：\n%s\n"
    "请关闭AutoCAD和正在使用这些文件的程序，然后重新安装。";
constexpr const char kFolderNotCreatedFormat[] =
    "无法创建安装文件夹 %s !\n\n请检查路径是否正确。以管理员身份运行时，"
    "为当前用户映射的网络驱动器在这里不可见：请改用本机磁盘上的文件夹或完整的网络路径（\\\\服务器\\共享）。";
constexpr const char kFolderNotTextFormat[] =
    "安装路径 %s 含有无法使用的字符 !\n\n"
    "AutoCAD 的加载项注册只能记录简体中文（GBK）字符集中的字符：请选择另一个安装路径，例如 C:\\Trabex。";
constexpr const char kFolderNoAclFormat[] =
    "安装路径 %s 所在的磁盘不能保存访问权限（例如 FAT32、exFAT 格式的磁盘或 U 盘）!\n\n"
    "每个用户的 AutoCAD 都会加载安装在这里的模块，而任何用户都可以替换它们。"
    "请选择 NTFS 磁盘上的文件夹，例如 C:\\Program Files\\Trabex。";
constexpr const char kFolderOpenToOthersFormat[] =
    "本机的其他用户可以重命名、删除文件夹 %s（所有者：%s）或修改它的权限 !\n\n"
    "他们因此可以替换安装在其中的 Trabex 扩展，而每个用户（包括管理员）的 AutoCAD 都会加载它。\n\n"
    "建议选择 Program Files 下的文件夹，例如 C:\\Program Files\\Trabex。\n\n仍要安装到这里吗？";
constexpr const char kInstallFolderOwnedFormat[] =
    "安装文件夹 %s 已经存在，而它属于 %s，不属于管理员 !\n\n"
    "它的所有者可以随时替换其中的文件，而每个用户（包括管理员）的 AutoCAD 都会加载它们。"
    "其中的内容没有被改动。\n\n请让管理员检查并删除它，或选择另一个安装路径，例如 C:\\Program Files\\Trabex。";
constexpr const char kOwnerUnknown[] = "未知用户";
constexpr const char kInstallFolderEntryOpenFormat[] =
    "安装文件夹中的 %s（所有者：%s）可以被其他用户修改或替换 !\n\n"
    "每个用户（包括管理员）的 AutoCAD 都会从这个文件夹加载模块。其中的内容没有被改动。\n\n"
    "请让管理员检查并删除它，或选择另一个安装路径，例如 C:\\Program Files\\Trabex。";
constexpr const char kInstallFolderIsLinkFormat[] =
    "安装文件夹 %s 是一个链接（junction 或符号链接），不能安装到这里 !\n\n请删除它，或选择另一个安装路径。";
constexpr const char kFolderTooLongFormat[] =
    "安装路径 %s 太长 !\n\n请选择一个较短的安装路径（不超过 %d 个字符）。";

// Dialog texts composed at run time.
constexpr const char kTitleMinorWide[] = "Ostrevo软件 V%d.%d";
constexpr const char kTitleMinorNarrow[] = "Ostrevo软件 V%d.0%d";
constexpr const char kTitlePatchWide[] = "%s.%d";
constexpr const char kTitlePatchNarrow[] = "%s.0%d";
constexpr const char kEditionFormat[] = "( %d位 AutoCAD版 )";
constexpr const char kBrowseCaption[] = "请选择安装目录：";

// Uninstall.exe.
constexpr const char kCaptionUninstall[] = "Q-软件卸载";        // warnings and errors
constexpr const char kCaptionUninstallDone[] = "Q-工具箱卸载";  // the final message
constexpr const char kUninstallCloseAcad[] = "请关闭AutoCAD后再进行卸载 !";
constexpr const char kUninstallNeedAdminFormat[] =
    "卸载需要管理员权限 !\n\n当前用户不能删除 AutoCAD 的注册表项：\n%s\n\n"
    "请关闭本程序，右键单击 Uninstall.exe，选择“以管理员身份运行”。";
constexpr const char kUninstallNotInstallFolderFormat[] =
    "%s 不是 Trabex 扩展的安装文件夹，这里没有可卸载的内容。\n\n请运行安装文件夹 Q-Ostrevo 中的 Uninstall.exe。";
constexpr const char kUninstallNothingFormat[] = "未发现安装在 %s 中的 Trabex 扩展，无需卸载。";
constexpr const char kUninstallCannotStartFormat[] =
    "无法开始卸载：不能在临时文件夹中创建 %s 。\n\n什么都没有删除。";
constexpr const char kUninstallDone[] =
    "卸载完成 !\n\n字体 Trabex_EN.shx、Trabex_HZ.shx 保留在 AutoCAD 的 Fonts 文件夹中（图纸会用到）。";
constexpr const char kUninstallLeftoversFormat[] =
    "卸载未全部完成 !\n\n以下内容未能删除：\n%s\n"
    "请关闭AutoCAD和正在使用这些文件的程序，再次运行 Uninstall.exe，或按每行的说明手工处理。\n"
    "字体 Trabex_EN.shx、Trabex_HZ.shx 保留在 AutoCAD 的 Fonts 文件夹中（图纸会用到）。";
// One line per leftover, each with what to do about it.
constexpr const char kLeftRegistrationFormat[] = "%s: 删除注册表项 HKEY_LOCAL_MACHINE\\%s";
constexpr const char kLeftBrokenRegistrationFormat[] =
    "%s: 删除注册表项 HKEY_LOCAL_MACHINE\\%s（它加载的 %s 已不存在）";
constexpr const char kLeftTrustedPathFormat[] = "从 TRUSTEDPATHS 中删除条目 %s：HKEY_CURRENT_USER\\%s";
constexpr const char kLeftDriverFormat[] = "用 pdfplot9.hdi.bak 恢复 %s";
constexpr const char kLeftFileFormat[] = "删除文件 %s";
constexpr const char kLeftFolderFormat[] = "删除文件夹 %s";
constexpr const char kLeftLinkFormat[] = "%s（链接，未进入也未删除）";
constexpr const char kDriverNotRestoredFormat[] =
    "\n\nAutoCAD 2008 的打印驱动未恢复（它不是本扩展放置的文件，或另一个安装仍在使用它）；"
    "pdfplot9.hdi 和 pdfplot9.hdi.bak 保持原样：\n%s";
constexpr const char kUninstallNoListFormat[] = "%s（没有安装文件清单：其中的文件一个也没有删除）";
constexpr const char kStaleRegistrationsFormat[] =
    "\n\n另有以下 Trabex 注册项加载的模块已不存在（它们不属于这次卸载的安装，AutoCAD 启动时会报错）：\n%s";
constexpr const char kLogStaleFormat[] = "另一安装的注册项（模块已不存在）：%s";
constexpr const char kUninstallKeptFormat[] =
    "\n\n以下文件夹中有不是安装程序放置的文件（例如您自己的图纸），已保留：\n%s";
// The plan shown before anything is removed (lines of a multi-line box).
constexpr const char kPlanRegistrationsFormat[] = "AutoCAD 的加载项注册（%d 项）：";
constexpr const char kPlanProfilesFormat[] = "受信任路径 TRUSTEDPATHS 中的 %s（%d 个配置）：";
constexpr const char kPlanDrivers[] = "恢复 AutoCAD 2008 原有的打印驱动 pdfplot9.hdi：";
constexpr const char kPlanDriversLeft[] = "AutoCAD 2008 的打印驱动保持原样（不是本扩展的文件，或另一个安装仍在使用）：";
constexpr const char kPlanFolder[] = "删除安装程序放置的文件（您自己的文件保留）：";
constexpr const char kPlanFontsStay[] = "字体 Trabex_EN.shx、Trabex_HZ.shx 保留在 AutoCAD 的 Fonts 文件夹中（图纸会用到）。";

// Command line of both programs; the unattended run's log.
// A command line not understood: this, then the program's help.
constexpr const char kCommandLineNotUnderstood[] = "无法识别的命令行参数 !\n\n";
constexpr const char kSetupHelp[] =
    "用法：SetUp.exe [/S] [/LOG=日志文件] [/NORESTART] [/?] [/D=安装路径]\n\n"
    "/S\t静默安装，不显示任何窗口\n/LOG=\t把每个步骤写入日志文件（UTF-8）\n"
    "/NORESTART\t可以加上，但不起作用：安装不需要重新启动\n/?\t显示本帮助（也可写作 /HELP）\n"
    "/D=\t安装路径，须放在最后，可含空格，不加引号\n\n"
    "在没有桌面的会话 0 中运行时（例如部署工具以 SYSTEM 身份运行），按 /S 静默安装。";
constexpr const char kUninstallHelp[] =
    "用法：Uninstall.exe [/S] [/LOG=日志文件] [/NORESTART] [/?]\n\n"
    "/S\t静默卸载，不显示任何窗口\n/LOG=\t把每个步骤写入日志文件（UTF-8）\n"
    "/NORESTART\t可以加上，但不起作用：卸载不需要重新启动\n/?\t显示本帮助（也可写作 /HELP）\n\n"
    "在没有桌面的会话 0 中运行时（例如部署工具以 SYSTEM 身份运行），按 /S 静默卸载。";
constexpr const char kLogNoDesktop[] =
    "本程序在会话 0 中运行（例如部署工具以 SYSTEM 身份启动），没有可以显示窗口的桌面：按 /S 静默运行。";
constexpr const char kLogSessionUnknown[] = "无法确定本程序所在的会话，按有桌面处理";
constexpr const char kLogNoRestartIgnored[] = "/NORESTART：安装和卸载都不需要重新启动 Windows，已忽略此参数。";
constexpr const char kLogCannotOpenFormat[] = "无法写入日志文件 %s ，什么都没有做。\n\n";
constexpr const char kLogPathFormat[] = "日志文件：%s";
constexpr const char kDisplayNameFormat[] = "Ostrevo软件（%d位 AutoCAD版）";
constexpr const char kLogMessageFormat[] = "消息 [%s] %s";
constexpr const char kLogQuestionFormat[] = "问题 [%s] %s -> %s";
constexpr const char kLogStartFormat[] = "%s %s，命令行：%s";
// The log's first lines: what ran, where, as whom.
constexpr const char kLogEditionFormat[] = "版本：%d 位 AutoCAD 版，%d 位程序";
constexpr const char kLogWindowsFormat[] = "Windows：%lu.%lu（内部版本 %lu），%s";
constexpr const char kLogWindows64[] = "64 位 Windows";
constexpr const char kLogWindows32[] = "32 位 Windows";
constexpr const char kLogAccountFormat[] = "账户：%s，%s，会话 %s";
constexpr const char kLogElevated[] = "以管理员身份（已提升）";
constexpr const char kLogNotElevated[] = "未提升";
constexpr const char kLogUnknown[] = "未知";
constexpr const char kLogPayloadFormat[] = "安装包文件夹：%s";
constexpr const char kLogNoPayload[] = "安装包文件夹：没有找到";
constexpr const char kLogEarlierFoundFormat[] = "已安装的版本 %s 在 %s：安装到同一位置";
constexpr const char kLogEarlierLeftFormat[] =
    "已安装的版本 %s 在 %s 保持原样（/D= 选择了另一位置）；“应用和功能”条目由这次安装替换";
constexpr const char kNewerInstalledFormat[] =
    "已安装的版本 %s 比本安装程序的版本 %s 新 !\n\n仍要安装这个较旧的版本吗？";
constexpr const char kLogReleaseFormat[] = "找到 AutoCAD %d：%s（%s）";
constexpr const char kLogNoReleaseFound[] = "没有找到本版本支持的 AutoCAD，什么都没有安装。";
constexpr const char kLogFolderFormat[] = "安装路径：%s";
constexpr const char kLogPayloadCheckedFormat[] = "安装文件已核对：%d 个文件的大小和 SHA-256 与安装程序的清单一致";
constexpr const char kLogPayloadDiffersFormat[] =
    "安装文件与安装程序的清单不符：%s，清单：%I64u 字节，SHA-256 %s；实际：%I64u 字节，SHA-256 %s";
constexpr const char kLogPayloadUnreadableFormat[] = "清单中的安装文件无法读取：%s";
constexpr const char kListedFileFormat[] = "%s（清单：%I64u 字节，SHA-256 %s）";
constexpr const char kLogNotListedFormat[] = "不在安装程序的清单中，未复制：%s";
constexpr const char kLogCopiedFormat[] = "已复制：%s";
constexpr const char kLogNotCopiedFormat[] = "未能复制：%s";
constexpr const char kLogRegisteredFormat[] = "已注册：%s";
constexpr const char kLogNotWrittenFormat[] = "未能写入：%s";
constexpr const char kLogTrustedFormat[] = "受信任路径已写入：HKEY_CURRENT_USER\\%s";
constexpr const char kLogTrustedNotWrittenFormat[] = "受信任路径未能写入：HKEY_CURRENT_USER\\%s";
constexpr const char kLogFileWrittenFormat[] = "已写入：%s";
constexpr const char kLogNoOwnDriverFormat[] = "%s 原来没有 AutoCAD 自带的文件，无需备份";
constexpr const char kLogEntryWrittenFormat[] = "已写入“应用和功能”条目：HKEY_LOCAL_MACHINE\\%s";
constexpr const char kLogEntryNotWrittenFormat[] = "未能写入“应用和功能”条目：%s";
constexpr const char kLogEntryRemovedFormat[] = "已删除“应用和功能”条目：HKEY_LOCAL_MACHINE\\%s";
constexpr const char kLogRemovedFormat[] = "已删除：%s";
constexpr const char kLogNotProtectedFormat[] = "未能设置访问权限：%s";
constexpr const char kLogExitFormat[] = "结束，退出代码 %d";
constexpr const char kLogLeftFormat[] = "未能删除：%s";
// Why a Windows call failed, after each failure line of the log: the Win32 error
// code and the system's own text for it.
constexpr const char kErrorFormat[] = "（错误 %lu：%s）";

// TrabexTrustedPath.exe, the per-user program (its log only: it shows nothing).
constexpr const char kTrustedPathUsage[] =
    "无法识别的命令行参数 ! 用法：TrabexTrustedPath.exe /add|/remove 安装文件夹 [/LOG=日志文件]";
constexpr const char kLogUserStepBadFolderFormat[] = "%s 不是 Trabex 扩展的安装文件夹：什么都没有改变";
constexpr const char kLogUserStepFolderGoneFormat[] = "安装文件夹 %s 不存在：不加入受信任路径";

// Every user of the machine: Active Setup and the person at the machine.
constexpr const char kActiveSetupName[] = "Ostrevo软件 Trabex：每个用户的 AutoCAD 受信任路径";
constexpr const char kLogSharedProgramFormat[] = "已放置每个用户登录时运行的程序：%s";
constexpr const char kLogSharedProgramNotWrittenFormat[] = "未能放置每个用户登录时运行的程序：%s";
constexpr const char kLogActiveSetupWrittenFormat[] =
    "已写入 Active Setup 组件：HKEY_LOCAL_MACHINE\\%s，版本 %s，每个用户下次登录时运行：%s";
constexpr const char kLogActiveSetupNotWrittenFormat[] = "未能写入 Active Setup 组件：%s";
constexpr const char kLogActiveSetupOtherFolderFormat[] =
    "Active Setup 组件属于另一个安装文件夹（%s）：提高其版本，其他用户下次登录时从受信任路径中删除已不存在的 %s";
constexpr const char kLogUserStepHere[] = "本程序由本机的交互用户运行：受信任路径在其 AutoCAD 配置中直接更新";
constexpr const char kLogUserStepCannotTell[] =
    "无法确定本机的交互用户：受信任路径在运行本程序的账户的 AutoCAD 配置中直接更新";
constexpr const char kLogUserStepNotHereFormat[] =
    "本程序以 %s 运行，不是本机的交互用户：不写入这个账户的 AutoCAD 配置";
constexpr const char kLogUserStepOtherAccount[] = "另一个账户";
constexpr const char kLogStartedForUserFormat[] = "已为本机的交互用户 %s 运行：%s，退出代码 %lu";
constexpr const char kLogNotStartedForUserFormat[] =
    "未能为本机的交互用户运行 %s：该用户下次登录时由 Active Setup 运行";
constexpr const char kLogUserRecordNotWrittenFormat[] = "未能写入或删除本用户的 Active Setup 记录（%s）";

// One run at a time (both programs).
constexpr const char kAnotherRunGoesOn[] =
    "另一个 Q-Ostrevo 安装或卸载程序正在运行 !\n\n请等它结束后再运行本程序。";
constexpr const char kLogSingleRunNotOursFormat[] =
    "单实例标记 %s 被一个既不是管理员也不是 SYSTEM 的账户占用，不是本软件的程序：忽略";
constexpr const char kLogSingleRunUnavailableFormat[] = "未能创建单实例标记 %s，继续运行";

// Folder picker (English, as the shell's own dialog).
constexpr const char kPickerCreateFormat[] =
    "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?";
constexpr const char kPickerInvalidFormat[] = "The folder:\n\n%s\n\nis invalid. Please reenter.";
constexpr const char kPickerCannotCreateFormat[] =
    "The folder:\n\n%s\n\ncan not be created. Please double check.";

} // namespace Texts
