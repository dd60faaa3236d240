# The restore window: the backup pairs of the program directory, newest first,
# with what each side holds; the chosen pair goes back after a question.
window {
    id = 0x52010005
    symbol = RestoreWindow
    caption "恢复备份"
    rect 90 90 640 360
    on 0 RestoreWindowCreated
    listview "备份列表" symbol=BackupList {
        rect 8 8 620 280
        gridlines 1
        column "备份时间" 200
        column "方式" 44
        column "收入条数" 62
        column "收入合计" 92
        column "支出条数" 62
        column "支出合计" 92
        column "状态" 56
    }
    button "按钮_恢复备份" symbol=RestoreChosenButton {
        rect 404 296 112 28; caption "恢复所选备份"; on 0 RestoreChosenBackup
    }
    button "按钮_关闭恢复" symbol=RestoreCloseButton {
        rect 524 296 104 28; caption "关闭"; on 0 CloseRestoreWindow
    }
}
