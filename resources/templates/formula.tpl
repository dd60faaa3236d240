# The formula window: a new column's title and its formula over the printed
# columns, checked by a test evaluation before it joins the formula columns.
# Ids are fixed so that test segments compiled from this source match.
window {
    id = 0x52010A42
    symbol = FormulaWindow
    caption "公式设置"
    rect 120 120 380 231
    on 0 FormulaWindowLoad
    label "标签_新增列名" id=0x16010A01 { rect 12 15 84 20; caption "新增列名:" }
    edit "新列名编辑框" id=0x16010A02 symbol=FormulaTitleEdit { rect 100 12 258 22 }
    label "标签_相关计算列" id=0x16010A03 { rect 12 45 84 20; caption "相关计算列:" }
    combo "列内容" id=0x16010A04 symbol=FormulaColumnCombo {
        rect 100 42 258 22; style 1; on 0 FormulaColumnChosen
    }
    label "标签_公式" id=0x16010A05 { rect 12 75 84 20; caption "公式:" }
    edit "公式编辑框" id=0x16010A06 symbol=FormulaEdit { rect 100 72 258 22 }
    label "标签_运算符号" id=0x16010A07 {
        rect 12 104 350 20; caption "运算符号说明：“+”、“-”、“*”、“/”、括号嵌套。"
    }
    label "标签_公式样式" id=0x16010A08 {
        rect 12 126 350 20; caption "公式样式:[第一列]*12*(52+13)/(14-3)-[第三列]"
    }
    script "脚本组件1" id=0x16010A09 symbol=FormulaScript { rect 12 156 32 32; set language "JScript" }
    button "确定" id=0x16010A0A symbol=FormulaOkButton {
        rect 190 158 78 26; caption "确定"; on 0 ConfirmFormula
    }
    button "取消" id=0x16010A0B symbol=FormulaCancelButton {
        rect 280 158 78 26; caption "取消"; on 0 CancelFormula
    }
}
