# Stands in for the print settings window around the formula window: the
# three lists the formula columns work with, the context menu of 新列列表框
# and the background print window's script component.
window {
    id = 0x52010F31
    symbol = StandInWindow
    caption "打印预览设置"
    rect 60 60 420 300
    menu "新列菜单" hidden symbol=NewColumnMenu {
        item "删除" on=DeleteFormulaColumn symbol=DeleteMenuItem
    }
    checklist "显示列表框" symbol=DisplayList {
        rect 10 10 120 150
        item "序号"
        item "收入金额"
        item "收入类型"
        item "备注信息"
    }
    list "新列列表框" symbol=NewColumnList { rect 140 10 120 150 }
    checklist "统计列表框" symbol=StatisticsList { rect 270 10 120 150 }
    script "脚本组件1" symbol=PrintScript { rect 10 170 32 32 }
}
