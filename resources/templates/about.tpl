# The about box.
window {
    id = 0x52010004
    symbol = AboutWindow
    caption "关于"
    rect 80 80 360 230
    picture "图片框关于" { rect 12 12 88 183; picture "pictures/side.jpg"; border 0 }
    label "标签名称" { rect 112 16 230 24; caption "Tavrin 家庭收支记账"; font "宋体" 12 bold }
    label "标签版本" { rect 112 44 230 20; caption "版本 0.1" }
    label "标签作者" { rect 112 70 230 20; caption "作者：Tavrin组" }
    label "标签联系" { rect 112 92 230 20; caption "联系：tavrin@example.org" }
    label "标签博客" { rect 112 114 230 20; caption "博客：https://blog.example.org/tavrin" }
    label "标签网盘" { rect 112 136 230 20; caption "下载：https://files.example.org/tavrin" }
    button "按钮_关于确定" symbol=AboutOkButton {
        rect 262 162 72 26; caption "确定"; on 0 CloseAboutBox
    }
}
