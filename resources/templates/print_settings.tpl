# The print settings window: columns, title, date line, remark, paper, lines,
# page numbers, rows per page, font size, serial column, summary row, colours
# and formula columns of a printed item list. Ids are fixed so that test
# segments compiled from this source match.
window {
    id = 0x52010A3D
    symbol = PrintSettingsWindow
    caption "打印预览设置"
    rect 100 80 607 434
    on 0 PrintSettingsLoad
    menu "新列菜单" hidden symbol=NewColumnMenu {
        item "删除" on=DeleteFormulaColumn symbol=NewColumnDeleteItem
    }

    label "标签_打印标题" id=0x16010B01 { rect 8 11 64 18; caption "打印标题:" }
    edit "标题" id=0x16010B02 symbol=PrintTitleEdit { rect 74 8 140 22 }
    button "字体" id=0x16010B03 symbol=TitleFontButton {
        rect 218 7 78 24; caption "标题字体"; on 0 ChooseTitleFont
    }
    dialog "选择字体对话框" id=0x16010B04 symbol=TitleFontDialog {
        dialog 0; font "宋体" 16 bold; color 0x000000
    }
    label "标签_打印日期" id=0x16010B05 { rect 8 39 64 18; caption "打印日期:" }
    edit "日期" id=0x16010B06 symbol=PrintDateEdit { rect 74 36 222 22 }
    label "标签_备注" id=0x16010B07 { rect 8 67 64 18; caption "备注:" }
    edit "备注" id=0x16010B08 symbol=PrintRemarkEdit { rect 74 64 222 22 }

    label "标签_选择列" id=0x16010B09 { rect 8 94 140 18; caption "选择要打印的列:" }
    checklist "显示列表框" id=0x16010B0A symbol=PrintColumnList {
        rect 8 112 140 178; on 0 PrintColumnTicked
    }
    label "标签_自定义列" id=0x16010B0B { rect 156 94 140 18; caption "添加自定义列:" }
    list "新列列表框" id=0x16010B0C symbol=FormulaColumnList {
        rect 156 112 140 148; on -5 FormulaColumnListRightClick
    }
    button "添加" id=0x16010B0D symbol=AddFormulaButton {
        rect 156 264 140 26; caption "添加"; on 0 AddFormulaColumnClicked
    }
    group "分组框_合计" id=0x16010B0E { rect 8 296 288 96; caption "合计/统计行:"
        radio "不打合计" id=0x16010B0F symbol=NoSummaryRadio {
            rect 8 18 86 22; caption "不打印"; checked 1; on 0 SummaryModeClicked
        }
        radio "打合计" id=0x16010B10 symbol=CountSummaryRadio {
            rect 8 42 86 22; caption "打印合计"; on 0 SummaryModeClicked
        }
        radio "打统计" id=0x16010B11 symbol=StatisticsSummaryRadio {
            rect 8 66 86 22; caption "打印统计"; on 0 SummaryModeClicked
        }
        checklist "统计列表框" id=0x16010B12 symbol=StatisticsColumnList {
            rect 100 14 180 76; disabled 1
        }
    }

    group "分组框_纸张" id=0x16010B13 { rect 304 4 288 50; caption "纸张设置:"
        combo "纸张" id=0x16010B14 symbol=PaperCombo {
            rect 8 18 160 22; style 1; current 0
            item "默认纸"
            item "A3纸(297x420毫米)"
            item "A4纸(210x297毫米)"
            item "A5纸(148x210毫米)"
            item "B4纸(250x354毫米)"
            item "B5纸(182x257毫米)"
            item "四开(215x275毫米)"
            item "十六开(146x215毫米)"
            item "三十二开(97x151毫米)"
        }
        radio "纸张方向0" id=0x16010B15 symbol=PortraitRadio { rect 176 18 52 22; caption "纵向"; checked 1 }
        radio "纸张方向1" id=0x16010B16 symbol=LandscapeRadio { rect 230 18 52 22; caption "横向" }
    }
    group "分组框_线条" id=0x16010B17 { rect 304 58 288 50; caption "线条类别:"
        radio "线型1" id=0x16010B18 symbol=LineStyle1Radio { rect 8 18 66 22; caption "全部线"; checked 1 }
        radio "类别2" id=0x16010B19 symbol=LineStyle2Radio { rect 76 18 66 22; caption "无线条" }
        radio "线型3" id=0x16010B1A symbol=LineStyle3Radio { rect 144 18 66 22; caption "外框线" }
        radio "线型4" id=0x16010B1B symbol=LineStyle4Radio { rect 212 18 70 22; caption "内部线" }
    }
    label "标签_页号位置" id=0x16010B1C { rect 304 116 64 18; caption "页号位置:" }
    combo "页号位置" id=0x16010B1D symbol=PageNumberCombo {
        rect 370 113 90 22; style 1; current 0
        item "无页号"
        item "上左"
        item "上中"
        item "上右"
        item "下左"
        item "下中"
        item "下右"
    }
    label "标签_每页行数" id=0x16010B1E { rect 304 144 64 18; caption "每页行数:" }
    edit "行数" id=0x16010B1F symbol=RowsPerPageEdit { rect 370 141 50 22 }
    label "标签_自动分页" id=0x16010B20 { rect 426 144 120 18; caption "(空为自动分页)" }
    label "标签_字体大小" id=0x16010B21 { rect 304 172 64 18; caption "字体大小:" }
    edit "字体大小" id=0x16010B22 symbol=FontSizeEdit { rect 370 169 50 22; text "30" }
    checkbox "序号" id=0x16010B23 symbol=SerialCheck { rect 304 196 110 22; caption "增加序号列" }
    checkbox "保存配置" id=0x16010B24 symbol=SaveSettingsCheck { rect 426 196 110 22; caption "保存配置" }

    group "分组框_颜色" id=0x16010B25 { rect 304 222 288 140; caption "背景颜色设置:"
        checkbox "默认色" id=0x16010B26 symbol=DefaultColorsCheck {
            rect 8 18 66 22; caption "默认色"; checked 1; on 0 DefaultColorsClicked
        }
        checkbox "自配色" id=0x16010B27 symbol=BuiltInColorsCheck {
            rect 76 18 70 22; caption "自带配色"; on 0 BuiltInColorsClicked
        }
        checkbox "自定义行" id=0x16010B28 symbol=CustomRowsCheck {
            rect 148 18 68 22; caption "自定义行"; on 0 CustomRowsClicked
        }
        checkbox "自定义列" id=0x16010B29 symbol=CustomColumnsCheck {
            rect 216 18 68 22; caption "自定义列"; on 0 CustomColumnsClicked
        }
        label "标签_标题行颜色" id=0x16010B2A { rect 8 50 72 18; caption "标题行颜色:" }
        color "标题颜色" id=0x16010B2B symbol=RowHeaderColor { rect 82 47 56 22; color 0xCEDFDE; disabled 1 }
        label "标签_奇数行颜色" id=0x16010B2C { rect 8 78 72 18; caption "奇数行颜色:" }
        color "奇行色" id=0x16010B2D symbol=OddRowColor { rect 82 75 56 22; color 0xDEEFEF; disabled 1 }
        label "标签_偶数行颜色" id=0x16010B2E { rect 8 106 72 18; caption "偶数行颜色:" }
        color "偶行色" id=0x16010B2F symbol=EvenRowColor { rect 82 103 56 22; color 0xFFFFFF; disabled 1 }
        label "标签_标题行颜色1" id=0x16010B30 { rect 148 50 72 18; caption "标题行颜色:" }
        color "标题颜色1" id=0x16010B31 symbol=ColumnHeaderColor { rect 222 47 56 22; color 0xCEDFDE; disabled 1 }
        label "标签_奇数列颜色" id=0x16010B32 { rect 148 78 72 18; caption "奇数列颜色:" }
        color "奇列色" id=0x16010B33 symbol=OddColumnColor { rect 222 75 56 22; color 0xDEEFEF; disabled 1 }
        label "标签_偶数列颜色" id=0x16010B34 { rect 148 106 72 18; caption "偶数列颜色:" }
        color "偶列色" id=0x16010B35 symbol=EvenColumnColor { rect 222 103 56 22; color 0xFFFFFF; disabled 1 }
    }
    button "打印预览" id=0x16010B36 symbol=PrintPreviewButton {
        rect 404 368 90 26; caption "打印预览"; on 0 PrintPreviewClicked
    }
    button "取消" id=0x16010B37 symbol=PrintCancelButton {
        rect 502 368 90 26; caption "取消"; on 0 CancelPrintSettings
    }
}
