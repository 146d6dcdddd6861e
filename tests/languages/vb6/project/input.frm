VERSION 5.00
Begin VB.Form frmCustomer 
   Caption         =   "Customers"
   ClientHeight    =   3195
   Begin VB.CommandButton cmdSave 
      Caption         =   "&Save"
   End
   Begin VB.TextBox txtName 
      Height          =   285
   End
End
Attribute VB_Name = "frmCustomer"
Attribute VB_GlobalNameSpace = False
Option Explicit

Private m_customer As New clsCustomer
Private m_count As Long, m_dirty As Boolean
Private Declare Function GetTickCount Lib "kernel32" () As Long

Private Sub Form_Load()
    Dim rs As Object
    ' load the customer list
    Set rs = OpenQuery("SELECT CUST_NAME FROM CUSTOMER " & _
                       "WHERE REGION_CODE = 'N'")
    m_count = 0
    If m_count = 0 Then ClearForm
    FillList rs
End Sub

Private Sub cmdSave_Click()
    If m_dirty Then
        Call m_customer.Save(txtName.Text)
        m_dirty = False
    Else
        MsgBox "Nothing to save"
    End If
    For i = 1 To 10
        m_count = m_count + 1
    Next i
    LogRun GetTickCount
End Sub

Private Sub ClearForm()
    txtName.Text = ""
    Exit Sub
End Sub

Private Sub FillList(rs As Object)
    Rem nothing to fill yet
End Sub
