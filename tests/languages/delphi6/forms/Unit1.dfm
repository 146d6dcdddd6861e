object Form1: TForm1
  Left = 192
  Top = 107
  Width = 400
  Height = 300
  Caption = 'Customers'
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Button1: TButton
    Left = 8
    Top = 8
    Caption = '&Show'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Memo1: TMemo
    Left = 8
    Top = 40
    Lines.Strings = (
      'Memo1')
    TabOrder = 1
  end
end
