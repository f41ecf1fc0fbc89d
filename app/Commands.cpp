#include "Commands.h"

const std::vector<CommandInfo>& CommandTable() {
  static const std::vector<CommandInfo> table = {
      {ID_FILE_FLD, "选择目录", "搜索选择目录下所有匹配文件", "folder"},
      {ID_FILE_OPEN, "添加文件", "添加待转换文档", "open"},
      {ID_CVT_QUICK, "快速转换", "无文字注记、无符号参数、无投影信息一键式快速转换所有文件", "quick"},
      {ID_CVT_LABEL, "转换注释", "自动识别含有文字注记信息的文件，批量转换所有注释文字。", "label"},
      {ID_CVT_SITU, "高级转换", "用户自主设置投影输出方式、符号信息参数，向导式批量转换所有文件。", "wizard"},
      {ID_EDIT_SELALL, "全部选择", "选择全部待转换文件", "select-all"},
      {ID_EDIT_SELNONE, "取消选择", "取消当前选择文件", "select-none"},
      {ID_EDIT_SELDEL, "移除选择", "将选择项从清单中移除", "remove"},
      {ID_EDIT_CLEAR_ALL, "清空文件", "清除全部待转换文档", "clear"},
      {ID_EDIT_EXPORTLIST, "输出列表", "输出转换列表信息", "export"},
      {ID_BTN_LOGWIN, "信息窗口", "打开关闭信息窗口", "log"},
      {ID_CLR_RGBTRIPLE, "RGB颜色（24位）", "RGBTriple——RRGGBB", nullptr},
      {ID_CLR_RGBQUAD, "RGBA颜色（32位）", "RGBQuad——AARRGGBB", nullptr},
      {ID_CLR_CMYK, "CMYK颜色", "CMYK——CCMMYYKK", nullptr},
      {ID_ROTATE_ARITH, "数学角度", "数学意义上的角度", nullptr},
      {ID_ROTATE_GEO, "地理角度", "地理意义上的角度", nullptr},
      {ID_OPT_ALL, "高级设置", "相关参数设置", "settings"},
      {ID_WEBHOME, "官方网站", "访问Gridmoor软件官方网站", "web"},
      {ID_HELP_ONLINE, "在线支持", "访问在线帮助信息", "online"},
      {ID_HELP, "本机帮助", "显示本地帮助文件", "help"},
      {ID_APP_ABOUT, "关于", "Gridmoor软件版权信息", "about"},
      {ID_APP_EXIT, "退出(&X)", "退出应用程序；提示保存文档", "exit"},
      {ID_VIEW_EXPAND_ALL, "全部展开", "展开全部工程文件", "expand"},
      {ID_VIEW_COLLAPSE_ALL, "全部折叠", "折叠全部工程文件", "collapse"},
      {ID_VIEW_OPEN_LOCATION, "打开所在目录", "在文件浏览器中打开所选文件所在的目录", "locate"},
  };
  return table;
}

const CommandInfo* FindCommand(int id) {
  for (const CommandInfo& c : CommandTable()) {
    if (c.id == id) return &c;
  }
  return nullptr;
}
